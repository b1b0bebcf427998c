#pragma once

// Stands in for the import layer's CorelDRAW reader where only the document classes are under test: bytes that
// begin with "RIFF" read as a drawing of one rectangle layer; anything else fails as the real reader does.

#include <algorithm>
#include <memory>

#include "document/CMDocument.h"
#include "document/CMImportExportServices.h"
#include "document/CMProject.h"

namespace document_testing {

class FakeCorelDrawReader final : public CMCorelDrawReadService {
 public:
  platform::Status readCorelDrawing(CMDocument& document, const platform::Bytes& data) override {
    static constexpr unsigned char riff[] = {'R', 'I', 'F', 'F'};
    if (data.size() < 4 || !std::equal(riff, riff + 4, data.begin())) {
      return platform::Error::make(platform::Error::cocoaDomain, 10, "Unsupported file format!");
    }
    document.data()->array("layers")->add(CMProject::defaultObject("rect"));
    return platform::success();
  }
};

// Installs the fake for the scope's lifetime.
class FakeCorelDrawReaderInstalled {
 public:
  FakeCorelDrawReaderInstalled()
      : previous_(CMCorelDrawReadServiceFactory::install([] { return std::make_unique<FakeCorelDrawReader>(); })) {}
  ~FakeCorelDrawReaderInstalled() { CMCorelDrawReadServiceFactory::install(previous_); }

 private:
  CMCorelDrawReadServiceFactory::Factory previous_;
};

}  // namespace document_testing
