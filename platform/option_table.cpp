#include "platform/option_table.h"

#include <charconv>
#include <utility>

namespace {

// The help's first column: two blanks, the option and its value, padded to
// this width; continued help lines start under the help text.
constexpr std::size_t kOptionColumn = 25;

bool isWholeNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

std::optional<std::int64_t> ParseWholeNumber(const std::string& text, std::int64_t low,
                                             std::int64_t high) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [next, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || next != end || value < low || value > high)
        return std::nullopt;
    return value;
}

std::string RangeError(const char* what, std::int64_t low, std::int64_t high,
                       const std::string& value) {
    return std::string(" needs ") + what + " from " + std::to_string(low) + " to " +
           std::to_string(high) + ", not '" + value + "'";
}

void CommandLine::AddCheck(std::function<std::string()> check) {
    checks_.push_back(std::move(check));
}

const CommandLine::Bound* CommandLine::find(std::string_view name) const {
    for (const Bound& option : options_)
        if (option.info->name == name) return &option;
    return nullptr;
}

bool CommandLine::Knows(std::string_view name) const {
    return find(name) != nullptr;
}

std::vector<std::string_view> CommandLine::Names() const {
    std::vector<std::string_view> names;
    for (const Bound& option : options_) names.push_back(option.info->name);
    return names;
}

void CommandLine::SetPlainArguments(std::function<std::string(const std::string&)> take) {
    plain_ = std::move(take);
}

std::string CommandLine::Parse(const std::vector<std::string>& arguments) const {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg.rfind("--", 0) != 0) { // left for the program
            if (!plain_) continue;
            if (std::string error = plain_(arg); !error.empty()) return error;
            continue;
        }
        const Bound* option = find(arg);
        if (option == nullptr) return "unknown option '" + arg + "'";
        std::string value;
        switch (option->info->form) {
        case ValueForm::None:
            break;
        case ValueForm::Required:
            if (i + 1 >= arguments.size() || arguments[i + 1].empty())
                return arg + " needs a value";
            value = arguments[++i];
            break;
        case ValueForm::OptionalIndex:
            // Only a whole number is taken: "/NETWORK" or the next option stays.
            if (i + 1 < arguments.size() && isWholeNumber(arguments[i + 1])) value = arguments[++i];
            break;
        }
        const std::string error = option->store(value);
        if (!error.empty()) return arg + error;
    }
    for (const auto& check : checks_) {
        std::string error = check();
        if (!error.empty()) return error;
    }
    return {};
}

std::string CommandLine::Usage(const std::string& program) const {
    std::string text = "usage: " + program + " [options]\n";
    for (const Bound& option : options_) {
        const OptionInfo& info = *option.info;
        if (!info.heading.empty()) text += std::string(info.heading) + "\n";
        std::string left(info.name);
        if (!info.value.empty()) left += " " + std::string(info.value);
        text += "  " + left +
                std::string(left.size() < kOptionColumn ? kOptionColumn - left.size() : 1, ' ');
        for (const char c : info.help) {
            text += c;
            if (c == '\n') text += std::string(kOptionColumn + 2, ' ');
        }
        text += "\n";
    }
    return text;
}
