// A saved document read by a reader that shares nothing with ours: Python's
// plistlib, through read_saved_document.py.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "document/CMDocument.h"
#include "document_test_support.h"

namespace {

using platform::Value;

// The tree as the JSON read_saved_document.py expects.
void writeJson(const Value& value, std::string& out) {
  char buffer[40];
  switch (value.kind()) {
    case Value::Kind::Bool:
      out += value.boolValue() ? "true" : "false";
      return;
    case Value::Kind::Integer:
      out += std::to_string(value.integerValue());
      return;
    case Value::Kind::Real:
      std::snprintf(buffer, sizeof buffer, "%.17g", value.doubleValue());
      out += std::string("{\"real\": \"") + buffer + "\"}";
      return;
    case Value::Kind::Data:
      out += "{\"data\": \"";
      for (std::uint8_t byte : value.data()) {
        std::snprintf(buffer, sizeof buffer, "%02x", byte);
        out += buffer;
      }
      out += "\"}";
      return;
    case Value::Kind::String:
      out += '"';
      for (char c : value.string()) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
      }
      out += '"';
      return;
    case Value::Kind::Array: {
      out += '[';
      const char* separator = "";
      for (const Value& element : *value.array()) {
        out += separator;
        writeJson(element, out);
        separator = ", ";
      }
      out += ']';
      return;
    }
    case Value::Kind::Dictionary: {
      out += '{';
      const char* separator = "";
      for (const auto& [key, element] : *value.dictionary()) {
        out += separator;
        writeJson(Value(key), out);
        out += ": ";
        writeJson(element, out);
        separator = ", ";
      }
      out += '}';
      return;
    }
    default:
      out += "null";
  }
}

TEST(SavedDocumentOracle, PlistlibReadsTheSameTree) {
  if (std::system("python3 -c 'import plistlib' > /dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
  document_testing::ScratchFolders folders;
  CMProject::shareProject().setLockAutoOpenDocument(true);
  platform::testing::ScratchFolder files;

  CMDocument document;
  const platform::DictRef image = document_testing::layer(8);
  image->set("bits", Value(platform::Bytes{0, 0x7f, 0xff}));
  image->set("opacity", 0.1);
  image->set("x", Value::real32(12.75));
  image->set("name", "Ünïcödé \"name\"");
  document.data()->array("layers")->add(document_testing::group(3, {image, document_testing::layer(9)}));
  document.data()->array("layers")->add(document_testing::layer(4));
  document.data()->set("zoom", 1.25);
  ASSERT_TRUE(document.writeToURL(files / "drawing.vard", CMDocument::kFileType));

  std::string json;
  writeJson(Value(document.data()), json);
  std::ofstream(files / "expected.json") << json;
  const std::string command = "python3 '" DRAFTWORK_SOURCE_DIR "/tests/document/read_saved_document.py' '" +
                              (files / "drawing.vard").string() + "' '" + (files / "expected.json").string() + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;

  // The checker can fail: a tree that differs by one integer is rejected.
  document.data()->set("width", 801);
  json.clear();
  writeJson(Value(document.data()), json);
  std::ofstream(files / "expected.json") << json;
  EXPECT_NE(std::system((command + " 2> /dev/null").c_str()), 0);
}

}  // namespace
