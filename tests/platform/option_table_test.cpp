// The table-driven command line: value forms, errors named after the option,
// the checks after the options, and the help made from the tables.
#include <gtest/gtest.h>

#include "platform/automation.h"
#include "platform/option_table.h"
#include "support/test_support.h"

namespace {

struct Record {
    bool on = false;
    std::string name;
    std::optional<std::int64_t> index;
    int stores = 0;
};

const OptionEntry<Record> kTable[] = {
    {{"--on", ValueForm::None, "", "a switch"},
     [](Record& r, const std::string& v) {
         r.on = v.empty();
         ++r.stores;
         return std::string();
     }},
    {{"--name", ValueForm::Required, "NAME", "a name\nover two lines"},
     [](Record& r, const std::string& v) {
         ++r.stores;
         if (v == "bad") return std::string(": 'bad' is no name");
         r.name = v;
         return std::string();
     }},
    {{"--index", ValueForm::OptionalIndex, "[INDEX]", "an optional index", "indexed:"},
     [](Record& r, const std::string& v) {
         ++r.stores;
         r.index = v.empty() ? 0 : ParseWholeNumber(v, 0, 9);
         return r.index ? std::string() : RangeError("an index", 0, 9, v);
     }},
    {{"--a-very-long-option-name", ValueForm::None, "", "one blank after it"},
     [](Record&, const std::string&) { return std::string(); }},
};

struct Parsed {
    Record record;
    std::string error;
};

Parsed parse(const std::vector<std::string>& arguments) {
    Parsed parsed;
    CommandLine line;
    line.Add(std::span<const OptionEntry<Record>>(kTable), parsed.record);
    parsed.error = line.Parse(arguments);
    return parsed;
}

TEST(CommandLineTest, ValuesTakeTheirFormAndErrorsNameTheOption) {
    const Parsed all = parse({"/NETWORK", "--on", "--name", "Ann", "--index", "3", "rest"});
    ASSERT_EQ(all.error, "");
    EXPECT_TRUE(all.record.on);
    EXPECT_EQ(all.record.name, "Ann");
    EXPECT_EQ(all.record.index, 3);

    // A value is the next argument whatever it looks like, but never empty or missing.
    EXPECT_EQ(parse({"--name", "--on"}).record.name, "--on");
    EXPECT_EQ(parse({"--name"}).error, "--name needs a value");
    EXPECT_EQ(parse({"--name", ""}).error, "--name needs a value");
    EXPECT_EQ(parse({"--name", "bad"}).error, "--name: 'bad' is no name");
    EXPECT_EQ(parse({"--other"}).error, "unknown option '--other'");
    EXPECT_EQ(parse({"--on=1"}).error, "unknown option '--on=1'");
    EXPECT_EQ(parse({"--ON"}).error, "unknown option '--ON'");

    // An optional index takes only a whole number after it.
    EXPECT_EQ(parse({"--index"}).record.index, 0);
    const Parsed beforeOption = parse({"--index", "--on"});
    EXPECT_EQ(beforeOption.record.index, 0);
    EXPECT_TRUE(beforeOption.record.on);
    const Parsed negative = parse({"--index", "-1"}); // "-1" stays the program's
    EXPECT_EQ(negative.error, "");
    EXPECT_EQ(negative.record.index, 0);
    EXPECT_EQ(parse({"--index", "12"}).error, "--index needs an index from 0 to 9, not '12'");

    // The first error stops the reading: nothing after it is stored.
    const Parsed stopped = parse({"--name", "bad", "--on"});
    EXPECT_FALSE(stopped.record.on);
    EXPECT_EQ(stopped.record.stores, 1);
}

TEST(CommandLineTest, ChecksRunInOrderOnceEveryOptionIsRead) {
    Record record;
    CommandLine line;
    line.Add(std::span<const OptionEntry<Record>>(kTable), record);
    std::vector<std::string> ran;
    line.AddCheck([&] {
        ran.push_back(record.name);
        return record.on && record.index ? std::string("--on and --index exclude each other")
                                         : std::string();
    });
    line.AddCheck([&] {
        ran.push_back("second");
        return std::string();
    });
    EXPECT_EQ(line.Parse({"--on", "--name", "Zed"}), "");
    EXPECT_EQ(ran, (std::vector<std::string>{"Zed", "second"}));
    ran.clear();
    EXPECT_EQ(line.Parse({"--index", "--on"}), "--on and --index exclude each other");
    EXPECT_EQ(ran.size(), 1u);
}

TEST(CommandLineTest, TheHelpComesFromTheTables) {
    Record record;
    CommandLine line;
    line.Add(std::span<const OptionEntry<Record>>(kTable), record);
    EXPECT_EQ(line.Usage("prog"), "usage: prog [options]\n"
                                  "  --on                     a switch\n"
                                  "  --name NAME              a name\n"
                                  "                           over two lines\n"
                                  "indexed:\n"
                                  "  --index [INDEX]          an optional index\n"
                                  "  --a-very-long-option-name one blank after it\n");
}

TEST(CommandLineTest, HelpAndVersionAreSharedSwitches) {
    EXPECT_TRUE(ParseAutomationOptions({"--help"}).options.helpRequested);
    EXPECT_TRUE(ParseAutomationOptions({"--version"}).options.versionRequested);
    // Asked for before a bad option, the help is still asked for.
    const AutomationParse helpFirst = ParseAutomationOptions({"--help", "--frames", "x"});
    EXPECT_TRUE(helpFirst.options.helpRequested);
    EXPECT_NE(helpFirst.error, "");
    EXPECT_EQ(ParseAutomationOptions({"--version", "1"}).error, "");
}

} // namespace
