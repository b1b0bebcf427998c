#pragma once

// What the document's commands use of import and export. The import and export
// layer implements these and installs factories for them at start-up.

#include "document/CMInstalledFactory.h"
#include "platform/core/error.h"
#include "platform/core/value.h"

class CMDocument;

// Made for each export: asks for a file and a format (the one remembered in the
// "export_tag" default first) and writes the document, reporting failures itself.
class CMExportService {
 public:
  virtual ~CMExportService() = default;
  virtual void exportDocument(CMDocument& document) = 0;
};

// Asks for one file and adds its content to the document as layers (SVG and
// CorelDRAW drawings as shapes, anything else as one image layer), refreshes
// the canvas and posts "notificationLayersReCreate"; ends quietly when cancelled
// or when the file cannot be read.
class CMImportService {
 public:
  virtual ~CMImportService() = default;
  virtual void doImport(CMDocument& document) = 0;
};

// Reads a CorelDRAW drawing's bytes into the document's "layers" (no undo, not marked edited) when a document of
// that type is opened; fails with "Unsupported file format!", adding nothing, when the bytes are no drawing it reads.
class CMCorelDrawReadService {
 public:
  virtual ~CMCorelDrawReadService() = default;
  virtual platform::Status readCorelDrawing(CMDocument& document, const platform::Bytes& data) = 0;
};

// PNG data of the whole page ("width" by "height") with every layer drawn, at one pixel a point unless a
// resolution is asked for first.
class CMPageImageService {
 public:
  virtual ~CMPageImageService() = default;
  virtual platform::Expected<platform::Bytes> generate(CMDocument& document) = 0;
  virtual void setPixelsPerPoint(double /*pixelsPerPoint*/) {}
};

using CMExportServiceFactory = CMInstalledFactory<CMExportService>;
using CMImportServiceFactory = CMInstalledFactory<CMImportService>;
using CMCorelDrawReadServiceFactory = CMInstalledFactory<CMCorelDrawReadService>;
using CMPageImageServiceFactory = CMInstalledFactory<CMPageImageService>;
