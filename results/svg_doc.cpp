#include "results/svg_doc.h"

#include "results/number_text.h"
#include "timeutil/valid_utf8.h"

namespace results {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

std::string attr(std::string_view name, std::string_view value) {
  return " " + std::string(name) + "=\"" + std::string(value) + "\"";
}

std::string titled(std::string_view element, std::string_view title) {
  if (title.empty()) return std::string(element) + "/>\n";
  return std::string(element) + "><title>" + xml_text(title) + "</title></" +
         std::string(element.substr(1, element.find(' ') - 1)) + ">\n";
}

}  // namespace

std::string xml_text(std::string_view text) {
  std::string out;
  const std::string valid = timeutil::valid_utf8(text);
  for (std::size_t i = 0; i < valid.size(); ++i) {
    const char c = valid[i];
    const auto u = static_cast<unsigned char>(c);
    // XML 1.0 admits neither U+FFFE nor U+FFFF.
    if (u == 0xEF && valid.compare(i, 2, "\xEF\xBF") == 0 && i + 2 < valid.size() &&
        (valid[i + 2] == '\xBE' || valid[i + 2] == '\xBF')) {
      out += kReplacement;
      i += 2;
      continue;
    }
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        // XML 1.0 admits no control characters but tab, line feed and return.
        if (u < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          out += kReplacement;
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string px(double v) { return fixed_text(v, 1); }

double text_width(std::string_view text, double size) {
  std::size_t chars = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++chars;  // count code points
  }
  return 0.6 * size * static_cast<double>(chars);
}

void SvgDoc::rect(double x, double y, double w, double h, std::string_view cls,
                  std::string_view title) {
  body_ += titled("<rect" + attr("x", px(x)) + attr("y", px(y)) + attr("width", px(w)) +
                      attr("height", px(h)) + attr("class", cls),
                  title);
}

void SvgDoc::line(double x1, double y1, double x2, double y2, std::string_view cls) {
  body_ += "<line" + attr("x1", px(x1)) + attr("y1", px(y1)) + attr("x2", px(x2)) +
           attr("y2", px(y2)) + attr("class", cls) + "/>\n";
}

void SvgDoc::circle(double cx, double cy, double r, std::string_view cls, std::string_view title) {
  body_ += titled("<circle" + attr("cx", px(cx)) + attr("cy", px(cy)) + attr("r", px(r)) +
                      attr("class", cls),
                  title);
}

void SvgDoc::text(double x, double y, std::string_view content, std::string_view cls,
                  std::string_view anchor, double angle) {
  std::string e = "<text" + attr("x", px(x)) + attr("y", px(y)) + attr("class", cls);
  if (anchor != "start") e += attr("text-anchor", anchor);
  if (angle != 0.0) e += attr("transform", "rotate(" + px(angle) + " " + px(x) + " " + px(y) + ")");
  body_ += e + ">" + xml_text(content) + "</text>\n";
}

void SvgDoc::raw(std::string_view markup) { body_ += markup; }

std::string SvgDoc::finish(double width, double height, std::string_view style) const {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\"" +
         attr("width", px(width)) + attr("height", px(height)) +
         attr("viewBox", "0 0 " + px(width) + " " + px(height)) + ">\n<style>\n" +
         std::string(style) + "</style>\n" + body_ + "</svg>\n";
}

}  // namespace results
