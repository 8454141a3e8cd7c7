#include "tools/lreverb/command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <filesystem>
#include <ios>
#include <new>
#include <ostream>

namespace lumra {
namespace {

const OptionSpec* FindOption(std::span<const OptionSpec> options, std::string_view name) {
  const auto it = std::find_if(options.begin(), options.end(),
                               [&](const OptionSpec& o) { return o.Name == name; });
  return it == options.end() ? nullptr : &*it;
}

template <typename Number>
std::string ShortestText(Number x) {
  std::array<char, 64> text{};
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), x);
  return error == std::errc{} ? std::string(text.data(), end) : std::string("?");
}

}  // namespace

ParsedArguments ParseArguments(std::span<const std::string> args, std::span<const OptionSpec> options) {
  ParsedArguments parsed;
  // Help is looked for first, so "demo --help" shows help even where the rest would not parse.
  for (const std::string& a : args) {
    if (a == "--") break;
    if (a == "--help" || a == "-h") {
      parsed.Help = true;
      return parsed;
    }
  }
  bool operandsOnly = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (operandsOnly || a == "-" || !a.starts_with("-")) {
      parsed.Operands.push_back(a);
      continue;
    }
    if (a == "--") {
      operandsOnly = true;
      continue;
    }
    const std::size_t equals = a.find('=');
    const std::string name = a.substr(0, equals);
    const OptionSpec* spec = FindOption(options, name);
    if (spec == nullptr) throw UsageError("unknown option " + name);
    if (!spec->TakesValue) {
      if (equals != std::string::npos) throw UsageError(name + " takes no value");
      parsed.Options.push_back({name, {}});
    } else if (equals != std::string::npos) {
      parsed.Options.push_back({name, a.substr(equals + 1)});
    } else {
      if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
      parsed.Options.push_back({name, args[++i]});
    }
  }
  return parsed;
}

std::optional<std::string> SingleOption(const ParsedArguments& parsed, std::string_view option) {
  std::optional<std::string> value;
  for (const ParsedOption& o : parsed.Options) {
    if (o.Name != option) continue;
    if (value) throw UsageError("give " + std::string(option) + " once");
    value = o.Value;
  }
  return value;
}

std::int64_t ParseWholeNumber(std::string_view option, std::string_view text, std::int64_t low,
                              std::int64_t high) {
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || stop != end || value < low || value > high)
    throw UsageError(std::string(option) + " needs a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", not " + Quote(text));
  return value;
}

double ParseDecimal(std::string_view option, std::string_view text, double low, double high) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || stop != end || !(value >= low && value <= high))
    throw UsageError(std::string(option) + " needs a number from " + NumberText(low) + " to " +
                     NumberText(high) + ", not " + Quote(text));
  return value;
}

std::string NumberText(double x) { return ShortestText(x); }
std::string NumberText(float x) { return ShortestText(x); }

std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  quoted.append(text).append("\"");
  return quoted;
}

std::string DescribeError(const std::exception& error) {
  if (const auto* fs = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
    const std::string reason = fs->code().message();
    if (fs->path1().empty()) return reason;
    return Quote(fs->path1().string()) + ": " + reason;
  }
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) return "out of memory";
  if (const auto* io = dynamic_cast<const std::ios_base::failure*>(&error))
    return "a file could not be read or written: " + io->code().message();
  return error.what();
}

int RunReportingErrors(std::string_view prefix, std::ostream& err, const std::function<int()>& command) {
  try {
    return command();
  } catch (const UsageError& usage) {
    err << prefix << ": " << usage.what() << '\n';
    return 2;
  } catch (const std::exception& error) {
    err << prefix << ": " << DescribeError(error) << '\n';
    return 1;
  }
}

}  // namespace lumra
