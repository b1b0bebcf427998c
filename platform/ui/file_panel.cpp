#include "platform/ui/file_panel.h"

#include <gtkmm/filefilter.h>

#include <algorithm>
#include <filesystem>

#include "platform/core/main_queue.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace platform {

namespace {
std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  return text;
}
}  // namespace

std::shared_ptr<FilePanel> FilePanel::openPanel() {
  struct Constructible : FilePanel {
    Constructible() : FilePanel(Kind::Open) {}
  };
  return std::make_shared<Constructible>();
}

std::shared_ptr<FilePanel> FilePanel::savePanel() {
  struct Constructible : FilePanel {
    Constructible() : FilePanel(Kind::Save) {}
  };
  return std::make_shared<Constructible>();
}

void FilePanel::setAllowedFileTypes(std::vector<std::string> types) {
  types_ = std::move(types);
  if (!dialog_) return;
  applyFilter();
  if (kind_ != Kind::Save || types_.empty()) return;
  // The name field follows the type: "Drawing.png" becomes "Drawing.jpeg".
  const std::filesystem::path name(dialog_->get_current_name().raw());
  if (name.empty()) return;
  const std::string stem = name.has_extension() ? name.stem().string() : name.string();
  dialog_->set_current_name(stem + "." + types_.front());
}

void FilePanel::applyFilter() {
  for (const auto& filter : dialog_->list_filters()) dialog_->remove_filter(filter);
  if (types_.empty()) return;
  auto filter = Gtk::FileFilter::create();
  std::string name;
  for (const auto& type : types_) {
    // Patterns are case-sensitive in GTK; accept either case as AppKit does.
    filter->add_pattern("*." + lowered(type));
    std::string upper = type;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); });
    filter->add_pattern("*." + upper);
    name += (name.empty() ? "" : ", ") + type;
  }
  filter->set_name(name);
  dialog_->add_filter(filter);
}

std::string FilePanel::withAllowedExtension(const std::string& path) const {
  if (types_.empty()) return path;
  std::string extension = std::filesystem::path(path).extension().string();
  if (!extension.empty()) extension.erase(0, 1);
  const bool allowed = std::any_of(types_.begin(), types_.end(),
                                   [&](const std::string& type) { return lowered(type) == lowered(extension); });
  return allowed ? path : path + "." + types_.front();
}

void FilePanel::collectPaths() {
  paths_.clear();
  for (const std::string& name : dialog_->get_filenames()) {
    paths_.push_back(kind_ == Kind::Save ? withAllowedExtension(name) : name);
  }
}

void FilePanel::beginSheet(Window& window, std::function<void(bool accepted)> completion) {
  const bool save = kind_ == Kind::Save;
  dialog_ =
      std::make_unique<Gtk::FileChooserDialog>(window.gtkWindow(), title_.empty() ? (save ? "Save" : "Open") : title_,
                                               save ? Gtk::FILE_CHOOSER_ACTION_SAVE : Gtk::FILE_CHOOSER_ACTION_OPEN);
  dialog_->add_button("_Cancel", Gtk::RESPONSE_CANCEL);
  dialog_->add_button(save ? "_Save" : "_Open", Gtk::RESPONSE_ACCEPT);
  dialog_->set_default_response(Gtk::RESPONSE_ACCEPT);
  dialog_->set_modal(true);
  dialog_->set_select_multiple(!save && multiple_);
  dialog_->set_do_overwrite_confirmation(save);
  applyFilter();
  if (accessory_) dialog_->set_extra_widget(accessory_->widget());
  if (!directory_.empty()) dialog_->set_current_folder(directory_);
  if (save && !name_.empty()) dialog_->set_current_name(withAllowedExtension(name_));
  std::shared_ptr<FilePanel> self = shared_from_this();
  dialog_->signal_response().connect([self, completion = std::move(completion)](int response) {
    const bool accepted = response == Gtk::RESPONSE_ACCEPT;
    if (accepted) self->collectPaths();
    self->dialog_->hide();
    dispatchAsync([self, completion, accepted] {
      self->dialog_.reset();
      if (completion) completion(accepted);
    });
  });
  dialog_->show();
}

}  // namespace platform
