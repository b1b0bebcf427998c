// The SVG reader on libxml2's SAX2 push parser: the data goes in by chunks and the parser's events come back as
// the reader's element and character events.

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/SAX2.h>

#include <algorithm>
#include <memory>
#include <string>

#include "io/svg/VDSVGEncoding.h"
#include "io/svg/VDSVGMarkupScan.h"
#include "io/svg/VDSVGParser.h"
#include "platform/core/string_utilities.h"

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;

std::string_view text(const xmlChar* characters) {
  return characters ? std::string_view(reinterpret_cast<const char*>(characters)) : std::string_view();
}

// "prefix:local", as names stood in the file.
std::string qualifiedName(const xmlChar* localName, const xmlChar* prefix) {
  std::string name;
  if (prefix) {
    name = text(prefix);
    name += ':';
  }
  name += text(localName);
  return name;
}

VDSVGParser& readerOf(void* context) {
  return *static_cast<VDSVGParser*>(static_cast<xmlParserCtxtPtr>(context)->_private);
}

// Once the reader has what it can take, libxml2 reads no further.
void stopWhenDone(void* context) {
  if (readerOf(context).stopped()) xmlStopParser(static_cast<xmlParserCtxtPtr>(context));
}

void startElement(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* /*uri*/,
                  int /*namespaceCount*/, const xmlChar** /*namespaces*/, int attributeCount, int /*defaulted*/,
                  const xmlChar** attributes) {
  // The XML reader looks a prefix up through every namespace declared around the element, so those in scope are
  // bounded as one element's are.
  const int inScope = static_cast<xmlParserCtxtPtr>(context)->nsNr / 2;
  const bool namespaces = static_cast<std::size_t>(inScope) > VDSVGParser::kMostAttributes;
  if (namespaces || static_cast<std::size_t>(attributeCount) > VDSVGParser::kMostAttributes) {
    readerOf(context).didFail(xmlSAX2GetLineNumber(context), VDSVGParser::crowdedElement(namespaces));
    return stopWhenDone(context);
  }
  const platform::DictRef dictionary = platform::Dictionary::make();
  // Five entries an attribute: local name, prefix, URI, value start and value end.
  for (int i = 0; i < attributeCount; ++i) {
    const xmlChar** attribute = attributes + 5 * i;
    const char* begin = reinterpret_cast<const char*>(attribute[3]);
    const char* end = reinterpret_cast<const char*>(attribute[4]);
    dictionary->set(qualifiedName(attribute[0], attribute[1]),
                    std::string_view(begin, static_cast<std::size_t>(end - begin)));
  }
  readerOf(context).didStartElement(qualifiedName(localName, prefix), dictionary);
  stopWhenDone(context);
}

void endElement(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* /*uri*/) {
  readerOf(context).didEndElement(qualifiedName(localName, prefix));
}

void characters(void* context, const xmlChar* characters, int length) {
  readerOf(context).foundCharacters(
      std::string_view(reinterpret_cast<const char*>(characters), static_cast<std::size_t>(std::max(length, 0))));
  stopWhenDone(context);
}

void structuredError(void* context, xmlErrorPtr error) {
  if (!error || error->level != XML_ERR_FATAL) return;
  std::string message = error->message ? error->message : "the XML is malformed";
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  readerOf(context).didFail(error->line, std::move(message));
}

// Only entities whose text stands in the file are declared: a reference to one that names an outside resource is
// then an undeclared entity, which ends the parse instead of reading anything. An entity whose text holds a tag
// with too many attributes is damage at its declaration, found before any reference expands it.
void declareInternalEntity(void* context, const xmlChar* name, int type, const xmlChar* publicId,
                           const xmlChar* systemId, xmlChar* content) {
  if (type != XML_INTERNAL_GENERAL_ENTITY && type != XML_INTERNAL_PARAMETER_ENTITY) return;
  bool namespaces = false;
  if (SVGCrowdedTag(text(content), VDSVGParser::kMostAttributes, &namespaces)) {
    readerOf(context).didFail(xmlSAX2GetLineNumber(context), VDSVGParser::crowdedElement(namespaces));
    return stopWhenDone(context);
  }
  xmlSAX2EntityDecl(context, name, type, publicId, systemId, content);
}

// The defaults a DTD declares are given to every element of the name, each checked against the element's own
// attributes: past the bound of an element's attributes, the file is damaged at the declaration.
void declareAttribute(void* context, const xmlChar* element, const xmlChar* /*name*/, int /*type*/, int def,
                      const xmlChar* defaultValue, xmlEnumerationPtr tree) {
  if (tree) xmlFreeEnumeration(tree);
  // An implied or required attribute gives the element nothing.
  if (!defaultValue || def == XML_ATTRIBUTE_IMPLIED || def == XML_ATTRIBUTE_REQUIRED) return;
  readerOf(context).didDeclareAttribute(text(element), xmlSAX2GetLineNumber(context));
  stopWhenDone(context);
}

// Once the reader has stopped, no reference expands any more: a stop made while libxml2 expands one reference does
// not keep it from expanding the ones after it.
xmlEntityPtr entityUntilStopped(void* context, const xmlChar* name) {
  return readerOf(context).stopped() ? nullptr : xmlSAX2GetEntity(context, name);
}

// No external entity, DTD or other resource is ever read.
xmlParserInputPtr refuseEntity(void* /*context*/, const xmlChar* /*publicId*/, const xmlChar* /*systemId*/) {
  return nullptr;
}

xmlSAXHandler makeHandler() {
  xmlSAXHandler handler{};
  // Declarations of internal entities are kept so that references to them expand, within libxml2's limits.
  handler.startDocument = xmlSAX2StartDocument;
  handler.internalSubset = xmlSAX2InternalSubset;
  handler.entityDecl = declareInternalEntity;
  handler.attributeDecl = declareAttribute;
  handler.getEntity = entityUntilStopped;
  handler.getParameterEntity = xmlSAX2GetParameterEntity;
  handler.resolveEntity = refuseEntity;
  handler.startElementNs = startElement;
  handler.endElementNs = endElement;
  handler.characters = characters;
  // In a text, a CDATA section is characters like any other.
  handler.cdataBlock = characters;
  handler.serror = structuredError;
  handler.initialized = XML_SAX2_MAGIC;
  return handler;
}

struct ContextDeleter {
  void operator()(xmlParserCtxtPtr context) const {
    if (context->myDoc) xmlFreeDoc(context->myDoc);
    xmlFreeParserCtxt(context);
  }
};

}  // namespace

std::string VDSVGParser::crowdedElement(bool namespaces) {
  return platform::formatString(namespaces ? "an element is in the scope of more than %zu namespace declarations"
                                           : "an element has more than %zu attributes",
                                kMostAttributes);
}

void VDSVGParser::didDeclareAttribute(std::string_view element, int line) {
  const auto declared = declaredAttributes_.try_emplace(std::string(element), 0).first;
  if (++declared->second > kMostAttributes) didFail(line, crowdedElement());
}

platform::ArrayRef VDSVGParser::parseSVG(const platform::Bytes& data, CMBaseDocument& document) {
  document_ = &document;
  // What is looked at before parsing, and parsed, is the same UTF-8 text.
  std::string converted, encodingError;
  const std::optional<std::string_view> utf8 = SVGTextInUTF8(data, converted, encodingError);
  if (!utf8) {
    didFail(1, std::move(encodingError));
    return parsedGroups_;
  }
  const std::string_view whole = *utf8;
  if (refusedAtOnce(whole)) return parsedGroups_;
  xmlInitParser();
  xmlSAXHandler handler = makeHandler();
  const std::unique_ptr<xmlParserCtxt, ContextDeleter> parser(
      xmlCreatePushParserCtxt(&handler, nullptr, nullptr, 0, nullptr));
  if (!parser) {
    didFail(0, "the XML parser could not be made");
    return parsedGroups_;
  }
  parser->_private = this;
  currentLine_ = [context = parser.get()] { return xmlSAX2GetLineNumber(context); };
  // No network, no DTD loading and no external entities; entity expansion and size limits stay on. The text is in
  // UTF-8 whatever its declaration says.
  xmlCtxtUseOptions(parser.get(), XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR | XML_PARSE_IGNORE_ENC);
  // References to the file's own entities are replaced by their text, in attributes as in content, within
  // libxml2's amplification limits. Only those can be declared (declareInternalEntity), so nothing else is read.
  parser->replaceEntities = 1;
  const char* bytes = whole.data();
  // The XML reader is not given an element with too many attributes: it reads up to it, and the file is damaged
  // there.
  bool crowdedByNamespaces = false;
  const std::optional<std::size_t> crowded = SVGCrowdedTag(whole, kMostAttributes, &crowdedByNamespaces);
  const std::size_t end = crowded.value_or(whole.size());
  std::size_t offset = 0;
  bool failed = false;
  while (offset < end && !failed && !stopped()) {
    const std::size_t length = std::min(kChunkSize, end - offset);
    failed = xmlParseChunk(parser.get(), bytes + offset, static_cast<int>(length), 0) != 0;
    offset += length;
  }
  if (crowded && !stopped()) didFail(SVGLineAt(whole, *crowded), crowdedElement(crowdedByNamespaces));
  if (!failed && !stopped()) xmlParseChunk(parser.get(), nullptr, 0, 1);
  if (!failure_ && !parser->wellFormed) didFail(xmlSAX2GetLineNumber(parser.get()), "the XML is malformed");
  currentLine_ = [] { return 0; };
  closeText();
  makeShapesAgain();
  clearTempData();
  // Nothing of a file too large to hold is kept: the records made so far go now.
  if (!refusal_.empty()) parsedGroups_ = platform::Array::make();
  return parsedGroups_;
}
