#include "drawing_call_recorder.h"

#include <algorithm>
#include <set>

namespace {

// "key=value" for every property, nested lists and vectors in brackets, binary data by its length.
std::string describe(const librevenge::RVNGPropertyList& properties) {
  std::string text;
  librevenge::RVNGPropertyList::Iter it(properties);
  for (it.rewind(); it.next();) {
    if (!text.empty()) text += ' ';
    text += it.key();
    text += '=';
    if (const librevenge::RVNGPropertyListVector* vector = it.child()) {
      text += '[';
      for (unsigned long i = 0; i < vector->count(); ++i) text += "{" + describe((*vector)[i]) + "}";
      text += ']';
    } else if (std::string_view(it.key()) == "office:binary-data") {
      text += "<" + std::to_string(it()->getStr().size()) + " base64 bytes>";
    } else {
      text += it()->getStr().cstr();
    }
  }
  return text;
}

}  // namespace

long DrawingCallRecorder::count(std::string_view operation) const {
  return std::count_if(calls_.begin(), calls_.end(), [&](const std::string& call) {
    return call.compare(0, call.find(' '), operation) == 0;
  });
}

std::vector<std::string> DrawingCallRecorder::keys() const {
  std::set<std::string> found;
  for (const std::string& call : calls_) {
    const std::size_t blank = call.find(' ');
    if (blank == std::string::npos) continue;
    const std::string operation = call.substr(0, blank);
    std::size_t start = blank + 1;
    while (start < call.size()) {
      const std::size_t equals = call.find('=', start);
      if (equals == std::string::npos) break;
      found.insert(operation + ": " + call.substr(start, equals - start));
      // Values hold no blank outside brackets often enough for a survey; skip to the next blank at depth 0.
      int depth = 0;
      std::size_t end = equals + 1;
      for (; end < call.size() && (depth > 0 || call[end] != ' '); ++end) {
        if (call[end] == '[' || call[end] == '{') ++depth;
        if (call[end] == ']' || call[end] == '}') --depth;
      }
      start = end + 1;
    }
  }
  return {found.begin(), found.end()};
}

void DrawingCallRecorder::insertText(const librevenge::RVNGString& text) {
  calls_.push_back(std::string("insertText ") + text.cstr());
}

void DrawingCallRecorder::record(std::string_view operation, const librevenge::RVNGPropertyList& properties) {
  const std::string described = describe(properties);
  calls_.push_back(described.empty() ? std::string(operation) : std::string(operation) + " " + described);
}
