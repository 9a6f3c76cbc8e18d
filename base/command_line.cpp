#include "base/command_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "base/ascii_text.h"
#include "base/plain_decimal.h"

namespace pistavox {

namespace {

constexpr size_t kUsageWidth = 100;
// Option labels up to this wide share their line with the help; longer ones stand alone.
constexpr size_t kWidestInlineLabel = 20;

bool IsHelpOption(const std::string& arg) { return arg == "-h" || arg == "--help"; }

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string Whole(double value) {
  constexpr double kBeyondWhole = 18446744073709551616.0;  // 2^64
  return std::to_string(value < kBeyondWhole ? static_cast<uint64_t>(value) : UINT64_MAX);
}

// "a, b or c"
std::string Alternatives(const std::vector<std::string>& choices) {
  std::string text;
  for (size_t i = 0; i < choices.size(); ++i)
    text += (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") + choices[i];
  return text;
}

std::string ValueName(const CommandOption& option) {
  if (option.kind == OptionKind::kFlag) return "";
  if (option.kind != OptionKind::kChoice) return option.value_name;
  std::string text;
  for (const std::string& choice : option.choices) text += (text.empty() ? "" : "|") + choice;
  return text;
}

std::string Label(const CommandOption& option) {
  std::string label;
  for (const std::string& name : option.names) label += (label.empty() ? "" : ", ") + name;
  const std::string value = ValueName(option);
  return value.empty() ? label : label + " " + value;
}

const CommandOption* FindOption(const CommandLine& line, const std::string& arg) {
  for (const CommandOption& option : line.options)
    if (std::find(option.names.begin(), option.names.end(), arg) != option.names.end()) return &option;
  for (const CommandOption& option : line.options) {
    if (!option.anywhere) continue;
    for (const std::string& name : option.names)
      if (ContainsIgnoringAsciiCase(arg, name)) return &option;
  }
  return nullptr;
}

bool ReadUnsigned(const std::string& text, uint64_t& value) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* begin = text.data() + (hex ? 2 : 0);
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(begin, end, value, hex ? 16 : 10);
  return ec == std::errc() && stop == end && begin != end;
}

std::string RangeProblem(const std::string& name, const OptionRange& range) {
  const std::string low = range.min_excluded         ? "above " + Number(range.min)
                          : std::isfinite(range.min) ? "at least " + Number(range.min)
                                                     : "";
  const std::string high = std::isfinite(range.max) ? "at most " + Number(range.max) : "";
  return name + " must be " + low + (low.empty() || high.empty() ? "" : " and ") + high;
}

bool InRange(const OptionRange& range, double value) {
  return (range.min_excluded ? value > range.min : value >= range.min) && value <= range.max;
}

// Reads the value `text` of `option` given as `name`.
bool ReadValue(const CommandOption& option, const std::string& name, const std::string& text, OptionValue& value,
               std::string& error) {
  value.text = text;
  switch (option.kind) {
    case OptionKind::kFlag:
    case OptionKind::kText:
      return true;
    case OptionKind::kPath:
      if (!text.empty()) return true;
      error = name + " needs a value";
      return false;
    case OptionKind::kDouble:
      if (!ParsePlainDecimal(text, value.number)) {
        error = name + " takes a decimal number, not \"" + text + "\"";
        return false;
      }
      if (InRange(option.range, value.number)) return true;
      error = RangeProblem(name, option.range);
      return false;
    case OptionKind::kUnsigned:
      if (ReadUnsigned(text, value.whole) && InRange(option.range, static_cast<double>(value.whole))) return true;
      error = name + " takes a whole number " +
              (option.range.min > 0 ? "from " + Whole(option.range.min) + " to " : std::string("up to ")) +
              Whole(option.range.max) + ", not \"" + text + "\"";
      return false;
    case OptionKind::kChoice: {
      const auto found = std::find(option.choices.begin(), option.choices.end(), text);
      value.choice = static_cast<size_t>(found - option.choices.begin());
      if (found != option.choices.end()) return true;
      error = name + " takes " + Alternatives(option.choices) + ", not \"" + text + "\"";
      return false;
    }
  }
  return false;
}

// Joins the words with blanks, breaking lines before the usage width; the first line
// already holds as many columns as `indent`, and every further line starts with it.
std::string Filled(const std::vector<std::string>& words, const std::string& indent) {
  std::string text;
  size_t width = indent.size();
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0 && width + 1 + words[i].size() > kUsageWidth) {
      text += "\n" + indent;
      width = indent.size();
    } else if (i > 0) {
      text += ' ';
      ++width;
    }
    text += words[i];
    width += words[i].size();
  }
  return text;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find(' ', start), text.size());
    if (end > start) words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

std::string UsageLines(const CommandLine& line) {
  if (line.forms.size() != 1) {
    std::string text;
    for (size_t i = 0; i < line.forms.size(); ++i)
      text += (i == 0 ? "usage: " : "       ") + line.program + " " + line.forms[i] + "\n";
    return text;
  }
  std::vector<std::string> words;
  for (const CommandOption& option : line.options) {
    std::string word = "[";  // "[" + Label() trips mingw's overlap warning at -O3
    word += Label(option);
    words.push_back(word + "]");
  }
  if (!line.forms[0].empty()) words.push_back(line.forms[0]);
  const std::string lead = "usage: " + line.program + " ";
  return lead + Filled(words, std::string(lead.size(), ' ')) + "\n";
}

std::string OptionLines(const CommandLine& line) {
  size_t widest = 0;
  for (const CommandOption& option : line.options) {
    const size_t width = Label(option).size();
    if (width <= kWidestInlineLabel) widest = std::max(widest, width);
  }
  const std::string indent(2 + widest + 3, ' ');
  std::string text;
  for (const CommandOption& option : line.options) {
    const std::string label = "  " + Label(option);
    text +=
        label.size() < indent.size() ? label + std::string(indent.size() - label.size(), ' ') : label + "\n" + indent;
    text += Filled(Words(option.help), indent) + "\n";
  }
  return text;
}

}  // namespace

CommandOption FlagOption(std::string name, OptionTarget target, std::string help) {
  return {.names = {std::move(name)}, .target = std::move(target), .help = std::move(help)};
}

CommandOption ValueOption(std::string name, OptionKind kind, std::string value_name, OptionTarget target,
                          std::string help, OptionRange range) {
  return {.names = {std::move(name)},
          .kind = kind,
          .value_name = std::move(value_name),
          .target = std::move(target),
          .range = range,
          .help = std::move(help)};
}

CommandOption ChoiceOption(std::string name, std::vector<std::string> choices, OptionTarget target, std::string help) {
  return {.names = {std::move(name)},
          .kind = OptionKind::kChoice,
          .target = std::move(target),
          .choices = std::move(choices),
          .help = std::move(help)};
}

OptionTarget Into(bool& target) {
  return [&target](const OptionValue&) { target = true; };
}

OptionTarget Into(std::string& target) {
  return [&target](const OptionValue& value) { target = value.text; };
}

OptionTarget Into(double& target) {
  return [&target](const OptionValue& value) { target = value.number; };
}

bool ParseCommandLine(const CommandLine& line, const std::vector<std::string>& args, bool& help, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (IsHelpOption(arg)) {
      help = true;
      return true;
    }
    const CommandOption* option = FindOption(line, arg);
    if (option == nullptr) {
      // A lone "-" is an operand: standard input or output, by custom.
      if (line.operands == nullptr || (arg.size() > 1 && arg[0] == '-')) {
        error = "unknown option " + arg;
        return false;
      }
      line.operands->push_back(arg);
      continue;
    }
    std::string text;
    if (option->kind != OptionKind::kFlag) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      text = args[++i];
    }
    OptionValue value;
    if (!ReadValue(*option, arg, text, value, error)) return false;
    if (option->target) option->target(value);
  }
  return true;
}

std::string CommandLineHelp(const CommandLine& line) {
  return UsageLines(line) + line.preamble + OptionLines(line) + line.epilogue;
}

int RefuseCommandLine(const CommandLine& line, const std::string& error) {
  std::fprintf(stderr, "%s: %s\n%s", line.program.c_str(), error.c_str(), CommandLineHelp(line).c_str());
  return 2;
}

bool ReadCommandLine(const CommandLine& line, int argc, char** argv, int& status) {
  bool help = false;
  std::string error;
  if (!ParseCommandLine(line, std::vector<std::string>(argv + 1, argv + argc), help, error)) {
    status = RefuseCommandLine(line, error);
    return false;
  }
  if (help) {
    std::fputs(CommandLineHelp(line).c_str(), stdout);
    status = 0;
    return false;
  }
  return true;
}

}  // namespace pistavox
