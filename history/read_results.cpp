#include "history/read_results.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <vector>

#include "framework/d_pgmid.h"

namespace history {
namespace {

using Json = nlohmann::json;

// Where the reader stands: the containers that hold what it keeps, and
// Skip for everything else (and all below it).
enum class At : unsigned char {
  Skip, Root, Protocols, Protocol, ArcWindow, Rounded, Start, End,
  Satellites, Satellite, Eclipsing, Eclipse, ArcSplit, Systems, System
};

// The keys it looks at.
enum class Key : unsigned char {
  Other, Program, Version, RunStart, ReturnCode, Verdict, Protocols, File, ArcWindow, Rounded,
  Start, End, Mjd, Satellites, Number, RmsM, Split, Eclipsing, ArcSplit, Systems, Letter, Level
};

Key key_of(std::string_view k) {
  static constexpr std::pair<std::string_view, Key> kKeys[] = {
      {"number", Key::Number},       {"rms_m", Key::RmsM},
      {"split", Key::Split},         {"mjd", Key::Mjd},
      {"start", Key::Start},         {"end", Key::End},
      {"program", Key::Program},     {"version", Key::Version},
      {"run_start", Key::RunStart},  {"return_code", Key::ReturnCode},
      {"verdict", Key::Verdict},     {"protocols", Key::Protocols},
      {"file", Key::File},           {"arc_window", Key::ArcWindow},
      {"rounded", Key::Rounded},     {"satellites", Key::Satellites},
      {"eclipsing", Key::Eclipsing}, {"arc_split", Key::ArcSplit},
      {"systems", Key::Systems},     {"letter", Key::Letter},
      {"editing_level_m", Key::Level}};
  for (const auto& [name, key] : kKeys) {
    if (k == name) return key;
  }
  return Key::Other;
}

// The container a new object (array: isArray) opens at, under key in here.
At next_at(At here, Key key, bool isArray) {
  switch (here) {
    case At::Root:
      if (key == Key::Protocols && isArray) return At::Protocols;
      if (key == Key::ArcSplit && !isArray) return At::ArcSplit;
      return At::Skip;
    case At::Protocols: return isArray ? At::Skip : At::Protocol;
    case At::Protocol:
      if (key == Key::ArcWindow && !isArray) return At::ArcWindow;
      if (key == Key::Satellites && isArray) return At::Satellites;
      if (key == Key::Eclipsing && isArray) return At::Eclipsing;
      return At::Skip;
    case At::ArcWindow: return key == Key::Rounded && !isArray ? At::Rounded : At::Skip;
    case At::Rounded:
      if (isArray) return At::Skip;
      return key == Key::Start ? At::Start : key == Key::End ? At::End : At::Skip;
    case At::Satellites: return isArray ? At::Skip : At::Satellite;
    case At::Eclipsing: return isArray ? At::Skip : At::Eclipse;
    case At::ArcSplit: return key == Key::Systems && isArray ? At::Systems : At::Skip;
    case At::Systems: return isArray ? At::Skip : At::System;
    default: return At::Skip;
  }
}

// A scalar value as the handler sees it.
struct Value {
  enum class Type { Null, Bool, Int, Real, Text } type = Type::Null;
  bool b = false;
  long long i = 0;
  double r = 0.0;
  std::string_view s;
  bool number() const { return type == Type::Int || type == Type::Real; }
  double real() const { return type == Type::Int ? static_cast<double>(i) : r; }
};

constexpr std::string_view kLetters = "GRESCJ";

class Handler : public nlohmann::json_sax<Json> {
 public:
  explicit Handler(ResultsFile& file) : f_(file) {}

  bool null() override { return scalar(Value{}); }
  bool boolean(bool v) override { return scalar(Value{Value::Type::Bool, v, 0, 0.0, {}}); }
  bool number_integer(number_integer_t v) override {
    return scalar(Value{Value::Type::Int, false, v, 0.0, {}});
  }
  bool number_unsigned(number_unsigned_t v) override {
    if (v > static_cast<number_unsigned_t>(INT64_MAX)) return scalar(real(static_cast<double>(v)));
    return scalar(Value{Value::Type::Int, false, static_cast<long long>(v), 0.0, {}});
  }
  bool number_float(number_float_t v, const string_t&) override { return scalar(real(v)); }
  bool string(string_t& v) override { return scalar(Value{Value::Type::Text, false, 0, 0.0, v}); }
  bool binary(binary_t&) override { return scalar(Value{}); }
  bool start_object(std::size_t) override { return open(false); }
  bool start_array(std::size_t) override { return open(true); }
  bool end_object() override { return close(); }
  bool end_array() override { return close(); }
  bool key(string_t& k) override {
    key_ = at_.back() == At::Skip ? Key::Other : key_of(k);
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
    std::string what = e.what();
    const auto bracket = what.find("] ");
    if (what.rfind("[json.exception.", 0) == 0 && bracket != std::string::npos) {
      what.erase(0, bracket + 2);
    }
    damaged_ = "damaged JSON: " + what;
    return false;
  }

  const std::string& damaged() const { return damaged_; }
  const std::string& program() const { return program_; }
  // The protocols read, each with its satellites' eclipse flags.
  std::vector<ProtocolValues> take_protocols() {
    std::vector<ProtocolValues> out;
    for (Pending& p : protocols_) {
      for (SatValue& s : p.v.sats) {
        for (int e : p.v.eclipsing) s.eclipsing = s.eclipsing || e == s.number;
      }
      out.push_back(std::move(p.v));
    }
    return out;
  }
  bool rootIsObject() const { return rootObject_; }
  bool seen(Key k) const { return seen_[static_cast<std::size_t>(k)]; }
  const std::string& wrong() const { return wrong_; }

 private:
  static Value real(double v) { return Value{Value::Type::Real, false, 0, v, {}}; }

  bool open(bool isArray) {
    if (at_.empty()) {
      rootObject_ = !isArray;
      at_.push_back(isArray ? At::Skip : At::Root);
      return true;
    }
    const At here = at_.back();
    const At next = next_at(here, here == At::Protocols || here == At::Satellites ||
                                          here == At::Eclipsing || here == At::Systems
                                      ? Key::Other
                                      : key_,
                            isArray);
    if (here == At::Root && (key_ == Key::Protocols || key_ == Key::ArcSplit)) mark(key_);
    if (here == At::Root && key_ == Key::Protocols && isArray == false) return layout("protocols", "an array");
    if (here == At::Protocol && key_ == Key::Satellites) protocol().satsSeen = true;
    if (next == At::Protocol) protocols_.emplace_back();
    if (next == At::Satellite) protocol().v.sats.emplace_back();
    if (next == At::Eclipse) eclipse_ = 0;
    if (next == At::System) system_ = {};
    at_.push_back(next);
    return true;
  }

  bool close() {
    const At here = at_.back();
    at_.pop_back();
    if (here == At::Satellite && !check_satellite()) return false;
    if (here == At::Eclipse && eclipse_ != 0) protocol().v.eclipsing.push_back(eclipse_);
    if (here == At::System) keep_level();
    if (here == At::Protocol && !protocol().satsSeen) return layout("satellites", "present");
    return true;
  }

  struct Pending {
    ProtocolValues v;
    bool satsSeen = false;
    bool numberSeen = false;
  };
  Pending& protocol() { return protocols_.back(); }

  // A value of the wrong type: the layout is not the one this reader knows.
  bool layout(std::string_view field, std::string_view should) {
    wrong_ = "\"" + std::string(field) + "\" is not " + std::string(should);
    return false;
  }

  void mark(Key k) { seen_[static_cast<std::size_t>(k)] = true; }

  bool check_satellite() {
    if (!protocol().numberSeen) return layout("number", "present in every satellite");
    protocol().numberSeen = false;
    return true;
  }

  void keep_level() {
    const auto sys = kLetters.find(system_.letter);
    if (system_.letter != 0 && sys != std::string_view::npos && system_.level > 0.0) {
      f_.level[sys] = system_.level;
    }
  }

  bool root_value(const Value& v) {
    switch (key_) {
      case Key::Program:
      case Key::Version:
      case Key::RunStart:
      case Key::Verdict:
        if (v.type != Value::Type::Text) return layout(name_of(key_), "a text");
        mark(key_);
        if (key_ == Key::Program) program_ = v.s;
        if (key_ == Key::Version) f_.version = v.s;
        if (key_ == Key::RunStart) f_.runStart = v.s;
        if (key_ == Key::Verdict) f_.verdict = v.s;
        return true;
      case Key::ReturnCode:
        if (v.type != Value::Type::Int) return layout("return_code", "an integer");
        mark(key_);
        f_.returnCode = v.i;
        return true;
      case Key::Protocols: return layout("protocols", "an array");
      default: return true;
    }
  }

  bool satellite_value(const Value& v) {
    SatValue& s = protocol().v.sats.back();
    if (key_ == Key::Number) {
      if (v.type != Value::Type::Int) return layout("number", "an integer");
      s.number = static_cast<int>(std::clamp<long long>(v.i, -999999, 999999));
      protocol().numberSeen = true;
    } else if (key_ == Key::RmsM) {
      if (v.type == Value::Type::Null) return true;  // no value: absent
      if (!v.number() || !std::isfinite(v.real())) return layout("rms_m", "a number");
      s.rms = v.real();
      s.hasRms = true;
    } else if (key_ == Key::Split && v.type == Value::Type::Bool) {
      s.split = v.b;
    }
    return true;
  }

  bool window_value(At here, const Value& v) {
    if (key_ != Key::Mjd || v.type == Value::Type::Null) return true;
    if (!v.number()) return layout("mjd", "a number");
    const std::size_t end = here == At::End ? 1 : 0;
    protocol().v.window[end] = v.real();
    protocol().v.hasWindow[end] = std::isfinite(v.real());
    return true;
  }

  bool scalar(const Value& v) {
    if (at_.empty()) return true;  // a document that is a single value
    const At here = at_.back();
    switch (here) {
      case At::Root: return root_value(v);
      case At::Protocol:
        if (key_ == Key::File && v.type == Value::Type::Text) protocol().v.file = v.s;
        if (key_ == Key::Satellites && v.type != Value::Type::Null) {
          return layout("satellites", "an array");
        }
        if (key_ == Key::Satellites) protocol().satsSeen = true;
        return true;
      case At::Start:
      case At::End: return window_value(here, v);
      case At::Satellite: return satellite_value(v);
      case At::Eclipse:
        if (key_ == Key::Number && v.type == Value::Type::Int) eclipse_ = static_cast<int>(v.i);
        return true;
      case At::System:
        if (key_ == Key::Letter && v.type == Value::Type::Text && v.s.size() == 1) system_.letter = v.s[0];
        if (key_ == Key::Level && v.number()) system_.level = v.real();
        return true;
      default: return true;
    }
  }

  static std::string_view name_of(Key k) {
    switch (k) {
      case Key::Program: return "program";
      case Key::Version: return "version";
      case Key::RunStart: return "run_start";
      case Key::Verdict: return "verdict";
      default: return "value";
    }
  }

 private:
  std::vector<Pending> protocols_;
  std::string program_;
  ResultsFile& f_;
  std::vector<At> at_;
  Key key_ = Key::Other;
  bool rootObject_ = false;
  std::array<bool, 32> seen_{};
  std::string damaged_;
  std::string wrong_;
  int eclipse_ = 0;
  struct {
    char letter = 0;
    double level = 0.0;
  } system_;
};

// The major number of a version text ("5" of "5.2"); -1 when it has none.
int major_of(std::string_view version) {
  int major = -1;
  const auto [ptr, ec] = std::from_chars(version.data(), version.data() + version.size(), major);
  if (ec != std::errc() || (ptr != version.data() + version.size() && *ptr != '.')) return -1;
  return major;
}

// Why a file read without a JSON error cannot be used; empty when it can.
std::string layout_reason(const Handler& h, const ResultsFile& file) {
  if (!h.rootIsObject() || !h.seen(Key::Program) || h.program() != "FITCHK") {
    return "not a FITCHK results file (no \"program\": \"FITCHK\")";
  }
  const int major = major_of(file.version);
  if (!h.seen(Key::Version) || major < 0) return "not a FITCHK results file (no version number)";
  const std::string versions = "; this FITCHK reads those of version " + std::to_string(known_layout());
  if (major > known_layout()) return "a newer layout (version " + file.version + ")" + versions;
  if (major < known_layout()) return "an older layout (version " + file.version + ")" + versions;
  if (!h.wrong().empty()) return "not in the layout of version " + file.version + ": " + h.wrong();
  for (const auto& [key, name] : {std::pair{Key::RunStart, "run_start"},
                                  std::pair{Key::ReturnCode, "return_code"},
                                  std::pair{Key::Protocols, "protocols"}}) {
    if (!h.seen(key)) return "not in the layout of version " + file.version + ": \"" + name + "\" missing";
  }
  return {};
}

}  // namespace

long long ProtocolValues::day() const { return static_cast<long long>(std::floor(middle())); }

int known_layout() { return major_of(framework::kSuiteVersion); }

void read_results(std::string_view text, ResultsFile& file) {
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    file.reason = "an empty file";
    return;
  }
  Handler h(file);
  const bool ok = Json::sax_parse(text.data(), text.data() + text.size(), &h);
  if (!ok && !h.damaged().empty()) {
    file.reason = h.damaged();
    return;
  }
  file.reason = layout_reason(h, file);
  if (!file.reason.empty()) return;
  file.protocols = h.take_protocols();
}

}  // namespace history
