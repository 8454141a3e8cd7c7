#pragma once
// What every lreverb command shares on its command line: options as "--name value" or
// "--name=value", "--" before operands that start with a dash, "--help" anywhere, numbers
// checked and echoed as a person writes them, and the exit statuses (0; 1 for a failure; 2 for a
// command line that cannot be understood) with one line on stderr per error.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lumra {

// A command line that cannot be understood: exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionSpec {
  std::string_view Name;  // with its dashes: "--block"
  bool TakesValue;
};

struct ParsedOption {
  std::string Name;
  std::string Value;  // empty for a flag
};

struct ParsedArguments {
  bool Help = false;  // "--help" or "-h" was given: nothing else was looked at
  std::vector<ParsedOption> Options;  // in the order given
  std::vector<std::string> Operands;  // "-" is an operand (standard input or output)
};

// Throws UsageError for an unknown option, a missing value or a value given to a flag.
ParsedArguments ParseArguments(std::span<const std::string> args, std::span<const OptionSpec> options);

// Throws UsageError when option was given more than once.
std::optional<std::string> SingleOption(const ParsedArguments& parsed, std::string_view option);

// An integer from low to high, or a UsageError saying so.
std::int64_t ParseWholeNumber(std::string_view option, std::string_view text, std::int64_t low,
                              std::int64_t high);
// A decimal number from low to high, or a UsageError saying so.
double ParseDecimal(std::string_view option, std::string_view text, double low, double high);

// The shortest text that reads back as x: "1", "1048576", "0.5", "3e+38".
std::string NumberText(double x);
std::string NumberText(float x);

std::string Quote(std::string_view text);

// The message of an exception as one line in words: the C++ library's own texts
// ("filesystem error: ...") are reworded to name the file and the reason.
std::string DescribeError(const std::exception& error);

// Runs command and turns what it throws into one line "prefix: message" on err and the exit
// status: 2 for a UsageError, 1 for anything else.
int RunReportingErrors(std::string_view prefix, std::ostream& err, const std::function<int()>& command);

}  // namespace lumra
