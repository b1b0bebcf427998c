#pragma once

// NSOpenPanel and NSSavePanel on Gtk::FileChooserDialog: allowed file types as
// filters, a sheet on a window whose handler runs on the main queue after the
// dialog has closed. A saved name without an allowed extension gets the first.

#include <gtkmm/filechooserdialog.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class Window;

class FilePanel : public std::enable_shared_from_this<FilePanel> {
 public:
  enum class Kind { Open, Save };

  static std::shared_ptr<FilePanel> openPanel();
  static std::shared_ptr<FilePanel> savePanel();

  // Extensions without the dot ("slib"); empty allows every file.
  void setAllowedFileTypes(std::vector<std::string> types) { types_ = std::move(types); }
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

  Kind kind_;
  std::vector<std::string> types_;
  std::string title_;
  std::string directory_;
  std::string name_;
  bool multiple_ = false;
  std::vector<std::string> paths_;
  std::unique_ptr<Gtk::FileChooserDialog> dialog_;
};

}  // namespace platform
