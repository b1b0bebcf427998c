#pragma once

// NSOpenPanel and NSSavePanel on Gtk::FileChooserDialog: allowed file types as
// filters, an accessory view below the file chooser, a sheet on a window whose
// handler runs on the main queue after the dialog has closed. A saved name
// without an allowed extension gets the first, before GTK asks whether to
// replace an existing file, so the question is about the file written; a save
// panel shows it in the name field, and replacing the allowed types while the
// panel is up rewrites it. Spellings of one type ("jpeg" and "jpg", "tiff"
// and "tif") are the same type.

#include <gtkmm/filechooserdialog.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class View;
class Window;

class FilePanel : public std::enable_shared_from_this<FilePanel> {
 public:
  enum class Kind { Open, Save };

  static std::shared_ptr<FilePanel> openPanel();
  static std::shared_ptr<FilePanel> savePanel();

  // Extensions without the dot ("slib"); empty allows every file.
  void setAllowedFileTypes(std::vector<std::string> types);
  // Extensions that a change of the allowed types replaces in the name field, beside the allowed ones; any other
  // ending ("Release 1.5") is part of the name and keeps it.
  void setKnownFileTypes(std::vector<std::string> types) { known_ = std::move(types); }
  // A save panel whose type follows the name: when a name is saved whose extension is not an allowed type, the
  // handler gets that extension in its usual spelling ("jpg" as "jpeg") first, and may allow it; a name still
  // without an allowed extension gets the first.
  void setTypeFromName(std::function<void(const std::string& type)> handler) { typeFromName_ = std::move(handler); }
  const std::vector<std::string>& allowedFileTypes() const { return types_; }
  // Shown below the chooser; kept by the panel.
  void setAccessoryView(std::shared_ptr<View> view) { accessory_ = std::move(view); }
  void setTitle(const std::string& title) { title_ = title; }
  void setDirectory(const std::string& path) { directory_ = path; }
  void setNameFieldStringValue(const std::string& name) { name_ = name; }
  void setAllowsMultipleSelection(bool allows) { multiple_ = allows; }

  // beginSheetModalForWindow:completionHandler: with true for OK.
  void beginSheet(Window& window, std::function<void(bool accepted)> completion);
  // The chosen paths (URLs) after OK.
  const std::vector<std::string>& paths() const { return paths_; }

  Gtk::FileChooserDialog* dialog() { return dialog_.get(); }

 private:
  explicit FilePanel(Kind kind) : kind_(kind) {}
  void collectPaths();
  std::string withAllowedExtension(const std::string& path) const;
  // Adds the extension to a typed name that lacks one and has the dialog answer again; false when it had one.
  bool completeTypedName();
  void applyFilter();

  Kind kind_;
  std::vector<std::string> types_;
  std::vector<std::string> known_;
  std::function<void(const std::string& type)> typeFromName_;
  std::string title_;
  std::string directory_;
  std::string name_;
  bool multiple_ = false;
  std::vector<std::string> paths_;
  std::shared_ptr<View> accessory_;
  std::unique_ptr<Gtk::FileChooserDialog> dialog_;
};

}  // namespace platform
