#pragma once

// Keyed archives: the binary property-list form in which documents, templates
// and shape libraries are stored (NSKeyedArchiver's format).
//
// Every string, number and data value, and every container or object, is an
// entry of the archive's object list, referred to by its position (a UID; 0
// is the $null entry). Dictionaries, arrays and the program's own objects
// are written by class coders, looked up by class name in a registry.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/error.h"
#include "platform/core/value.h"

namespace platform {

// NSCoderReadCorruptError, in Error::cocoaDomain.
inline constexpr std::int64_t kCoderReadCorruptError = 4864;

// Writes the archive of a value. The same container or object instance
// reached twice is written once, so shared structure survives a round trip.
// Parts that cannot be archived become nil (the key is dropped, the element
// skipped) with a logged warning: objects whose class has no coder, a
// container that contains itself, nesting deeper than kPropertyListDepthLimit.
Bytes archivedDataWithRootObject(const Value& root);

// Reads a binary or XML archive. Bad input of any kind gives an error, never a
// crash or a partial object. An object of an unknown class inside an
// otherwise good archive reads as nil with a logged warning. A $null element
// of an array is skipped; a $null value drops its key from a dictionary.
// Shared entries decode to the same instance.
Expected<Value> unarchiveObjectWithData(const Bytes& data);
// What a reader may need to know of an archive beyond its value.
struct UnarchiveReport {
  // The archived objects that read as nil (no coder for their class, or their
  // coder refused them): the archive was read only in part.
  std::size_t nilObjects = 0;
  // Some dictionary or array is reached from more than one place of the tree.
  bool sharesContainers = false;
};
// The same, also filling the report.
Expected<Value> unarchiveObjectWithData(const Bytes& data, UnarchiveReport& report);

// A position in the archive's object list.
using ArchiveUid = std::uint64_t;

// Records the keyed values of one object while it is archived.
class KeyedEncoder {
 public:
  // Booleans and numbers are stored inline (the real's width kept); strings,
  // data, containers and objects are archived as entries of their own and
  // referred to; nil refers to $null.
  virtual void encode(std::string_view key, const Value& value) = 0;
  // Archives a value as an entry (once per container or object instance) and
  // returns its UID; nil is 0.
  virtual ArchiveUid encodeObject(const Value& value) = 0;
  virtual ArchiveUid encodeString(std::string_view text) = 0;
  // An inline list of UIDs, the form of "NS.keys" and "NS.objects".
  virtual void encodeReferences(std::string_view key, std::span<const ArchiveUid> references) = 0;

 protected:
  ~KeyedEncoder() = default;
};

// Reads the keyed values of one object while it is unarchived.
class KeyedDecoder {
 public:
  virtual bool contains(std::string_view key) const = 0;
  // An inline value, or the entry a UID refers to; nil when the key is missing.
  virtual Expected<Value> decode(std::string_view key) = 0;
  // The entries of an inline list of UIDs, in order, $null kept as nil. A
  // missing key or anything but a list of UIDs is an error.
  virtual Expected<std::vector<Value>> decodeObjects(std::string_view key) = 0;

 protected:
  ~KeyedDecoder() = default;
};

// Turns archived objects of some classes back into values.
class ClassDecoder {
 public:
  virtual ~ClassDecoder() = default;
  // The "$classname"s this decoder reads.
  virtual std::vector<std::string> decodedClassNames() const = 0;
  virtual Expected<Value> decode(KeyedDecoder& decoder) const = 0;
};

// Archives values of one class and reads them back.
class ClassCoder : public ClassDecoder {
 public:
  // The class and its superclasses, ending with "NSObject" ("$classes"). The
  // first name is the "$classname" written, and the Object::className() this
  // coder archives.
  virtual std::vector<std::string> classChain() const = 0;
  virtual void encode(const Value& value, KeyedEncoder& encoder) const = 0;
};

// Later registrations of a class name replace earlier ones. Thread-safe; an
// archive being read or written keeps the registry it started with.
void registerClassCoder(std::shared_ptr<const ClassCoder> coder);
void registerClassDecoder(std::shared_ptr<const ClassDecoder> decoder);

}  // namespace platform
