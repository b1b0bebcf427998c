#pragma once

// The one reader of template archives, for the user's store (which saving as
// a template appends to) and for the templates the program ships: a keyed
// archive whose root is an array of template records, {"data": the archived
// root record of a document, "imagefilename": its thumbnail's file name}.

#include <filesystem>

#include "platform/core/value.h"

// The records of the archive that carry data under "data", copied; null when the bytes are no archive of an array.
platform::ArrayRef readTemplateRecords(const platform::Bytes& bytes);
// The same from a file; null when the file is missing or unreadable.
platform::ArrayRef readTemplateFile(const std::filesystem::path& path);
// The records of the user's store; an empty list when there is none. A store that cannot be read is never lost:
// it is moved aside as "<file>.corrupt-<UTC time>" and the user told (CMUserNotices), and the list starts empty;
// null when it could not be moved aside either, so that nothing is written over it.
platform::ArrayRef readUserTemplateStore(const std::filesystem::path& path);
// The document root record a template's data holds, or null when it holds none (no dictionary with "layers").
platform::DictRef templateRootRecord(const platform::DictRef& record);
// The thumbnail name when it is a plain file name (no folder, not "." or ".."), else empty.
std::string templateImageName(const platform::DictRef& record);
