#pragma once
// Every program's command line: one option table that both reads the arguments and prints --help.
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

namespace pistavox {

enum class OptionKind {
  kFlag,      // no value
  kText,      // any text, the empty one too
  kPath,      // a file or folder name, never empty
  kDouble,    // a plain decimal number within [min, max] (above min when min_excluded)
  kUnsigned,  // a whole number, decimal or 0x hexadecimal, within [min, max]
  kChoice,    // one of `choices`
};

// What the reader took for an option; the fields its kind does not give stay zero.
struct OptionValue {
  std::string text{};
  double number = 0;  // kDouble
  uint64_t whole = 0;
  size_t choice = 0;  // the index into the option's choices
};

// Bounds for numbers; a whole number's are whole too.
struct OptionRange {
  double min = -std::numeric_limits<double>::infinity();
  double max = std::numeric_limits<double>::infinity();
  bool min_excluded = false;
};

using OptionTarget = std::function<void(const OptionValue&)>;

// Every member has an initializer, so a row names only the members it needs.
struct CommandOption {
  std::vector<std::string> names{};  // "--out"
  OptionKind kind = OptionKind::kFlag;
  std::string value_name{};  // "DIR" in "--out DIR"; a choice shows its choices instead
  // Receives the value; empty for a flag that is only accepted (its effect is read elsewhere).
  OptionTarget target{};
  OptionRange range{};
  std::vector<std::string> choices{};
  std::string help{};  // one sentence, wrapped to the width of the help
  // A flag that counts wherever one of its names stands inside an argument, ASCII case ignored.
  bool anywhere = false;
};

// Rows as the tables write them.
CommandOption FlagOption(std::string name, OptionTarget target, std::string help);
CommandOption ValueOption(std::string name, OptionKind kind, std::string value_name, OptionTarget target,
                          std::string help, OptionRange range = {});
CommandOption ChoiceOption(std::string name, std::vector<std::string> choices, OptionTarget target, std::string help);

// Targets for the common cases: a flag sets the bool; text, paths and choices store the text;
// numbers store the value converted to the target's type.
OptionTarget Into(bool& target);
OptionTarget Into(std::string& target);
OptionTarget Into(double& target);
template <typename Whole>
requires std::is_integral_v<Whole> OptionTarget Into(Whole& target) {
  return [&target](const OptionValue& value) { target = static_cast<Whole>(value.whole); };
}
// A choice that stores the value standing at the chosen index.
template <typename Value>
OptionTarget IntoChoice(Value& target, std::vector<Value> values) {
  return [&target, values](const OptionValue& value) { target = values.at(value.choice); };
}

struct CommandLine {
  std::string program{};  // "pistavox-sim"
  // What follows the program's name on each usage line. With one form the options come
  // first, each in brackets; several forms are printed as written, the options listed below.
  std::vector<std::string> forms = {""};
  std::string preamble{};  // what the program is for, between the usage and the options
  std::vector<CommandOption> options{};
  std::string epilogue{};  // after the options
  // Receives the arguments that are no options, in order. Without it such an argument
  // is refused as an unknown option.
  std::vector<std::string>* operands = nullptr;
};

// Reads `args` (without the program's name) into the table's targets; false with an
// error naming the offending argument. `help` when -h or --help came, nothing after it read.
bool ParseCommandLine(const CommandLine& line, const std::vector<std::string>& args, bool& help, std::string& error);
std::string CommandLineHelp(const CommandLine& line);
// "PROGRAM: error" and the help on standard error; returns 2, the status of a bad command line.
int RefuseCommandLine(const CommandLine& line, const std::string& error);
// A main's first step: false when the program ends here, with `status` 0 after printing the
// help, or 2 after refusing the command line.
bool ReadCommandLine(const CommandLine& line, int argc, char** argv, int& status);

}  // namespace pistavox
