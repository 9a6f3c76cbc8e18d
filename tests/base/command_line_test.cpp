// Reading a command line through an option table, and the help the table prints.
#include "base/command_line.h"

#include <gtest/gtest.h>

#include <tuple>

namespace pistavox {
namespace {

using Args = std::vector<std::string>;

struct Read {
  bool flag = false;
  std::string text = "unset";
  std::string path;
  double number = 0;
  uint16_t whole = 0;
  int choice = 0;
  Args operands;
  bool help = false;
  std::string error;
};

CommandLine Table(Read& read, bool takes_operands) {
  using enum OptionKind;
  return {
      .program = "tool",
      .forms = {"[FILE...]"},
      .preamble = "Does one thing.\n",
      .options = {FlagOption("--flag", Into(read.flag), "a flag"),
                  ValueOption("--text", kText, "T", Into(read.text),
                              "any text, a help long enough to be wrapped at the width of the usage lines, which "
                              "is a hundred columns"),
                  ValueOption("--path", kPath, "A-RATHER-LONG-PATH", Into(read.path), "stands alone"),
                  ValueOption("--number", kDouble, "X", Into(read.number), "above 0", {.min = 0, .min_excluded = true}),
                  ValueOption("--bounded", kDouble, "X", Into(read.number), "from -1 to 1", {.min = -1, .max = 1}),
                  ValueOption("--whole", kUnsigned, "N", Into(read.whole), "up to 65535", {.max = 0xFFFF}),
                  ChoiceOption("--choice", {"a", "b", "c"}, IntoChoice(read.choice, {1, 2, 3}), "one of three"),
                  {.names = {"-debug"}, .help = "counts anywhere", .anywhere = true}},
      .epilogue = "Exit status: 0.\n",
      .operands = takes_operands ? &read.operands : nullptr};
}

Read ReadWith(const Args& args, bool takes_operands) {
  Read read;
  ParseCommandLine(Table(read, takes_operands), args, read.help, read.error);
  return read;
}

TEST(CommandLine, ReadsEachKindWithinItsRangeAndNamesTheArgumentItRefuses) {
  const std::pair<Args, std::string> refused[] = {
      {{"--text"}, "--text needs a value"},
      {{"--path", ""}, "--path needs a value"},
      {{"--number", "0x10"}, "--number takes a decimal number, not \"0x10\""},
      {{"--number", "0"}, "--number must be above 0"},
      {{"--bounded", "1.5"}, "--bounded must be at least -1 and at most 1"},
      {{"--whole", "65536"}, "--whole takes a whole number up to 65535, not \"65536\""},
      {{"--choice", "d"}, "--choice takes a, b or c, not \"d\""},
      {{"--FLAG"}, "unknown option --FLAG"},
      {{"file.csv"}, "unknown option file.csv"},  // this table takes no operands
  };
  for (const auto& [args, error] : refused) EXPECT_EQ(ReadWith(args, false).error, error) << args[0];

  // "-debug" counts wherever it stands, in any case; a lone "-" is an operand; nothing after the help is read.
  const Read read = ReadWith({"--flag", "--text", "", "--path", "p", "--number", "2.5", "--whole", "0x1F", "--choice",
                              "b", "x-DeBuG-y", "a.csv", "-", "-h", "--bogus"},
                             true);
  EXPECT_EQ(read.error, "");
  EXPECT_TRUE(read.flag && read.help);
  EXPECT_EQ(std::tie(read.text, read.path, read.number, read.whole, read.choice), std::make_tuple("", "p", 2.5, 31, 2));
  EXPECT_EQ(read.operands, (Args{"a.csv", "-"}));
  EXPECT_EQ(ReadWith({"--text", "--flag"}, false).text, "--flag");  // a value is taken whatever it looks like
}

TEST(CommandLine, PrintsItsHelpFromTheTable) {
  Read read;
  CommandLine line = Table(read, true);
  EXPECT_EQ(CommandLineHelp(line),
            "usage: tool [--flag] [--text T] [--path A-RATHER-LONG-PATH] [--number X] [--bounded X] [--whole N]\n"
            "            [--choice a|b|c] [-debug] [FILE...]\n"
            "Does one thing.\n"
            "  --flag           a flag\n"
            "  --text T         any text, a help long enough to be wrapped at the width of the usage lines, which\n"
            "                   is a hundred columns\n"
            "  --path A-RATHER-LONG-PATH\n"
            "                   stands alone\n"
            "  --number X       above 0\n"
            "  --bounded X      from -1 to 1\n"
            "  --whole N        up to 65535\n"
            "  --choice a|b|c   one of three\n"
            "  -debug           counts anywhere\n"
            "Exit status: 0.\n");
  line.forms = {""};  // no operands: the usage ends at the last option
  EXPECT_NE(CommandLineHelp(line).find("[-debug]\nDoes"), std::string::npos);
  line.forms = {"build IN OUT", "unpack [--flag] IN"};
  EXPECT_EQ(CommandLineHelp(line).rfind("usage: tool build IN OUT\n       tool unpack [--flag] IN\nDoes", 0), 0u);
}

}  // namespace
}  // namespace pistavox
