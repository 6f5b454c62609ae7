// A small SVG writer for the run's picture: shapes and texts with classes
// and tooltips, numbers written the same in every locale.
#pragma once
#include <string>
#include <string_view>

namespace results {

// Text as XML character data: markup characters escaped, bytes that are
// not valid UTF-8 and control characters replaced by U+FFFD.
std::string xml_text(std::string_view text);

class SvgDoc {
 public:
  // A rectangle of class cls; a tooltip when title is not empty.
  void rect(double x, double y, double w, double h, std::string_view cls,
            std::string_view title = {});
  void line(double x1, double y1, double x2, double y2, std::string_view cls);
  void circle(double cx, double cy, double r, std::string_view cls, std::string_view title = {});
  // Text at (x, y); anchor "start", "middle" or "end"; rotated by angle
  // degrees about its anchor point.
  void text(double x, double y, std::string_view content, std::string_view cls,
            std::string_view anchor = "start", double angle = 0.0);
  // Markup written as it stands (definitions, groups).
  void raw(std::string_view markup);
  // The whole document, width x height pixels, with the style sheet.
  std::string finish(double width, double height, std::string_view style) const;

 private:
  std::string body_;
};

// A coordinate with one decimal.
std::string px(double v);

// Estimated width in pixels of text in a font of size pt.
double text_width(std::string_view text, double size);

}  // namespace results
