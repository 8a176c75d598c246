// Command lines read from tables: each program lists its options once (name,
// value form, help line, how the value is stored), and the same tables give
// both the parser and the --help text.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class ValueForm {
    None,          // a switch: --headless
    Required,      // the next argument, which must not be empty: --frames N
    OptionalIndex, // the next argument when it is a whole number: --net-join [INDEX]
};

struct OptionInfo {
    constexpr OptionInfo(std::string_view name, ValueForm form, std::string_view value,
                         std::string_view help, std::string_view heading = {})
        : name(name), form(form), value(value), help(help), heading(heading) {}

    std::string_view name; // "--frames"
    ValueForm form;
    std::string_view value;   // the value as the help shows it: "N", "FILE.png"
    std::string_view help;    // one line; '\n' continues it on the next line of the help
    std::string_view heading; // when not empty, a heading the help prints before this option
};

// One option of a table filling a record of type Target. `store` takes the
// value (empty for a switch, and for an optional value not given) and returns
// what is wrong with it, as the words that follow the option's name ("needs a
// value", ": the file ... does not exist"); empty when the value is good.
template <class Target> struct OptionEntry {
    OptionInfo info;
    std::string (*store)(Target&, const std::string& value);
};

// A program's command line: its tables, each bound to the record it fills,
// and the checks of the options taken together.
class CommandLine {
  public:
    template <class Target> void Add(std::span<const OptionEntry<Target>> table, Target& target) {
        for (const OptionEntry<Target>& entry : table) {
            options_.push_back({&entry.info, [&target, store = entry.store](const std::string& v) {
                                    return store(target, v);
                                }});
        }
    }
    // A check once every option is read, in the order added; it returns the
    // whole error text, empty when the options agree.
    void AddCheck(std::function<std::string()> check);

    // Takes each argument that is neither an option nor an option's value
    // ("/NETWORK", a file to open), in order; returns the whole error text,
    // empty when the argument is good. Without one such arguments are ignored.
    void SetPlainArguments(std::function<std::string(const std::string&)> take);

    // Reads the options of `arguments` (argv[1..]) into the bound records.
    // Arguments that do not start with "--" (such as "/NETWORK") are left for
    // the program: the plain-argument taker sees them. The first error stops the reading: an
    // unknown option, a missing or bad value, or a failed check. Empty when all is good.
    std::string Parse(const std::vector<std::string>& arguments) const;

    // "usage: PROGRAM [options]" and one line per option, in table order.
    std::string Usage(const std::string& program) const;

    // Whether an option of this name is in one of the tables.
    bool Knows(std::string_view name) const;
    std::vector<std::string_view> Names() const;

  private:
    struct Bound {
        const OptionInfo* info;
        std::function<std::string(const std::string&)> store;
    };
    const Bound* find(std::string_view name) const;

    std::vector<Bound> options_;
    std::vector<std::function<std::string()>> checks_;
    std::function<std::string(const std::string&)> plain_;
};

// A whole decimal number within [low, high], nothing else on the text.
std::optional<std::int64_t> ParseWholeNumber(const std::string& text, std::int64_t low,
                                             std::int64_t high);

// " needs WHAT from LOW to HIGH, not 'VALUE'": the range error the tables'
// number options share (after the option's name).
std::string RangeError(const char* what, std::int64_t low, std::int64_t high,
                       const std::string& value);
