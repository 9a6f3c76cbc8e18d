// Reading a command line through an option table, and the help the table prints.
#include "base/command_line.h"

#include <gtest/gtest.h>

namespace pistavox {
namespace {

struct Read {
  bool flag = false;
  std::string text = "unset";
  std::string path;
  double number = 0;
  uint16_t whole = 0;
  int choice = 0;
  std::vector<std::string> operands;
  bool help = false;
  std::string error;
};

Read ReadWith(const std::vector<std::string>& args, bool takes_operands) {
  using enum OptionKind;
  Read read;
  const CommandLine line = {
      .program = "tool",
      .options = {FlagOption("--flag", Into(read.flag), ""),
                  ValueOption("--text", kText, "T", Into(read.text), ""),
                  ValueOption("--path", kPath, "P", Into(read.path), ""),
                  ValueOption("--number", kDouble, "X", Into(read.number), "", {.min = 0, .min_excluded = true}),
                  ValueOption("--bounded", kDouble, "X", Into(read.number), "", {.min = -1, .max = 1}),
                  ValueOption("--whole", kUnsigned, "N", Into(read.whole), "", {.max = 0xFFFF}),
                  ChoiceOption("--choice", {"a", "b", "c"}, IntoChoice(read.choice, {1, 2, 3}), ""),
                  {.names = {"-debug"}, .anywhere = true}},
      .operands = takes_operands ? &read.operands : nullptr};
  ParseCommandLine(line, args, read.help, read.error);
  return read;
}

TEST(CommandLine, ReadsEachKindWithinItsRangeAndNamesTheArgumentItRefuses) {
  using Args = std::vector<std::string>;
  const struct {
    Args args;
    std::string error;  // empty: read
  } cases[] = {
      {{"--flag", "--text", "", "--path", "p", "--number", "2.5", "--whole", "0x1F", "--choice", "b"}, ""},
      {{"--text", "--flag"}, ""},  // a value is taken whatever it looks like
      {{"--bounded", "-1"}, ""},
      {{"--whole", "65535"}, ""},
      {{"--text"}, "--text needs a value"},
      {{"--path", ""}, "--path needs a value"},
      {{"--number", "0x10"}, "--number takes a decimal number, not \"0x10\""},
      {{"--number", "0"}, "--number must be above 0"},
      {{"--bounded", "1.5"}, "--bounded must be at least -1 and at most 1"},
      {{"--whole", "65536"}, "--whole takes a whole number up to 65535, not \"65536\""},
      {{"--whole", "-1"}, "--whole takes a whole number up to 65535, not \"-1\""},
      {{"--whole", "0x"}, "--whole takes a whole number up to 65535, not \"0x\""},
      {{"--choice", "d"}, "--choice takes a, b or c, not \"d\""},
      {{"--bogus"}, "unknown option --bogus"},
      {{"--FLAG"}, "unknown option --FLAG"},
      {{"file.csv"}, "unknown option file.csv"},  // this table takes no operands
      {{"x-DeBuG-y", "-debug"}, ""},              // counted wherever it stands, in any case
      {{"--help", "--bogus"}, ""},
  };
  for (const auto& [args, error] : cases) {
    const Read read = ReadWith(args, false);
    EXPECT_EQ(read.error, error) << args[0];
  }
  const Read all = ReadWith(cases[0].args, false);
  EXPECT_TRUE(all.flag);
  EXPECT_EQ(all.text, "");
  EXPECT_EQ(all.path, "p");
  EXPECT_EQ(all.number, 2.5);
  EXPECT_EQ(all.whole, 31);
  EXPECT_EQ(all.choice, 2);
  EXPECT_EQ(ReadWith({"--text", "--flag"}, false).text, "--flag");
  EXPECT_FALSE(ReadWith({"--text", "--flag"}, false).flag);
  const Read help = ReadWith({"--flag", "-h", "--bogus"}, false);
  EXPECT_TRUE(help.help);
  EXPECT_EQ(help.error, "");

  const Read operands = ReadWith({"a.csv", "--flag", "-", "b.csv"}, true);
  EXPECT_EQ(operands.error, "");
  EXPECT_EQ(operands.operands, (Args{"a.csv", "-", "b.csv"}));
  EXPECT_EQ(ReadWith({"a.csv", "-x"}, true).error, "unknown option -x");
}

TEST(CommandLine, PrintsItsHelpFromTheTable) {
  bool flag = false;
  std::string text;
  const CommandLine one = {
      .program = "tool",
      .forms = {"FILE"},
      .preamble = "Does one thing.\n",
      .options = {FlagOption("--flag", Into(flag), "a flag"),
                  ValueOption("--out", OptionKind::kPath, "DIR", Into(text),
                              "where it goes, a help long enough to be wrapped at the width of the usage lines, "
                              "which is a hundred columns"),
                  ChoiceOption("--scenario", {"departure", "arrival", "pattern"}, Into(text), "which flight"),
                  ValueOption("--a-rather-long-option-name", OptionKind::kText, "TEXT", Into(text), "stands alone")},
      .epilogue = "Exit status: 0.\n"};
  EXPECT_EQ(CommandLineHelp(one),
            "usage: tool [--flag] [--out DIR] [--scenario departure|arrival|pattern]\n"
            "            [--a-rather-long-option-name TEXT] FILE\n"
            "Does one thing.\n"
            "  --flag      a flag\n"
            "  --out DIR   where it goes, a help long enough to be wrapped at the width of the usage lines, which\n"
            "              is a hundred columns\n"
            "  --scenario departure|arrival|pattern\n"
            "              which flight\n"
            "  --a-rather-long-option-name TEXT\n"
            "              stands alone\n"
            "Exit status: 0.\n");
  const CommandLine forms = {.program = "pack",
                             .forms = {"build IN OUT", "unpack [--force] IN OUT"},
                             .options = {FlagOption("--force", Into(flag), "replace")}};
  EXPECT_EQ(CommandLineHelp(forms),
            "usage: pack build IN OUT\n"
            "       pack unpack [--force] IN OUT\n"
            "  --force   replace\n");
}

}  // namespace
}  // namespace pistavox
