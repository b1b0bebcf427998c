#pragma once

// One SVG "text" element, or one "flowRoot", as its parts arrive: the characters in runs, each run with the
// attributes of the spans around it ("tspan"; "flowPara" and "flowSpan" in flowed text) and the place a span gives
// its first character. White space collapses across the runs as SVG collapses it.
//
// At the end the text becomes the layers the model holds, each of one place and one style: a text whose characters
// share both is one text layer, as before; otherwise each text chunk (a span with its own "x" or "y" starts one) is a
// layer anchored as the chunk is, and a chunk whose runs differ in style has one layer per run, placed along the
// baseline where SVG draws it; the text's layers are grouped, the text's opacity on the group. A flowed text is one
// layer of its paragraphs, line by line, at the top-left of its region. A layer whose place or size is not finite in
// single precision, from its own numbers or the advance of those before it, is left out.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/geometry.h"
#include "platform/core/value.h"

class CMBaseDocument;
class CMSVGGradients;

class CMSVGText {
 public:
  // `attributes`: the element's own over its groups' (with "transform" as the reader composes it).
  CMSVGText(platform::DictRef attributes, bool flowed);

  // A span's own attributes over those of the spans around it; its "x", "y", "dx" and "dy" place the next character.
  // `startsLine`: a paragraph of flowed text.
  void openSpan(const platform::DictRef& own, bool startsLine = false);
  void closeSpan();
  void addCharacters(std::string_view characters);
  // The top-left corner of a flowed text's region, in the text's own coordinates.
  void setRegion(platform::Point topLeft) { region_ = topLeft; }
  bool hasRegion() const { return region_.has_value(); }

  bool flowed() const { return flowed_; }
  // The bytes of characters received so far.
  std::size_t size() const { return received_; }

  struct Made {
    platform::DictRef record;  // one text layer, or a group of them; null when the text has no character to show
    bool finite = true;         // every number of the text's own attributes is finite in single precision
    // The elements ("text", "tspan") whose layers were left out for a place or size that is not finite.
    std::vector<std::string> leftOut;
  };
  Made make(CMBaseDocument& document, platform::Size viewport, CMSVGGradients& gradients,
            const platform::ArrayRef& styles) const;

 private:
  struct Place {
    std::optional<double> x, y;
    double dx = 0, dy = 0;
    bool given() const { return x || y || dx != 0 || dy != 0; }
  };
  struct Run {
    platform::DictRef attributes;
    std::string text;
    Place place;
    bool startsChunk = false;  // an absolute place, or a new paragraph
    bool inSpan = false;       // of a "tspan" rather than the text itself
  };
  struct Layer {
    platform::DictRef record;
    platform::Point baseline;  // in the text's own coordinates
    bool anchored = false;     // keeps the chunk's anchor (a chunk of one layer)
    bool inSpan = false;
  };

  std::vector<Layer> layersOf(CMBaseDocument& document, platform::Size viewport, CMSVGGradients& gradients,
                              const platform::ArrayRef& styles, bool& finite) const;
  Made flowedRecord(CMBaseDocument& document, platform::Size viewport, CMSVGGradients& gradients,
                    const platform::ArrayRef& styles) const;

  bool flowed_;
  std::vector<platform::DictRef> spans_;  // the attributes in force, the element's own first
  std::vector<Run> runs_;
  Place pending_;            // for the next character
  bool pendingChunk_ = false;
  bool lastWasSpace_ = true;  // leading white space collapses away
  std::size_t received_ = 0;
  std::optional<platform::Point> region_;
};
