#include "platform/ui/file_panel.h"

#include <gtkmm/filefilter.h>

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/core/main_queue.h"
#include "platform/core/string_utilities.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace platform {

namespace {

// The spellings of one file type, the usual one first.
std::vector<std::string> spellingsOf(const std::string& type) {
  static const std::vector<std::vector<std::string>> kSameTypes{{"jpeg", "jpg"}, {"tiff", "tif"}};
  const std::string lower = lowercaseString(type);
  for (const auto& same : kSameTypes) {
    if (std::find(same.begin(), same.end(), lower) != same.end()) return same;
  }
  return {lower};
}

bool among(const std::vector<std::string>& types, const std::string& extension) {
  const std::string lower = lowercaseString(extension);
  return std::any_of(types.begin(), types.end(), [&](const std::string& type) {
    const std::vector<std::string> spellings = spellingsOf(type);
    return std::find(spellings.begin(), spellings.end(), lower) != spellings.end();
  });
}

// Where the extension of the last component of a path or typed name starts (its dot); npos without one. A name
// that starts with its only dot (".vard") has none.
std::size_t extensionDot(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = name.rfind('.');
  return dot != std::string::npos && dot > start ? dot : std::string::npos;
}

std::string extensionOf(const std::string& name) {
  const std::size_t dot = extensionDot(name);
  return dot == std::string::npos ? "" : name.substr(dot + 1);
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
  const std::vector<std::string> previous = std::exchange(types_, std::move(types));
  if (!dialog_) return;
  applyFilter();
  if (kind_ != Kind::Save || types_.empty()) return;
  // The name field follows the type: "Drawing.png" becomes "Drawing.jpeg", "Release 1.5" keeps its ending, and a
  // folder typed before the name stays.
  const std::string name = dialog_->get_current_name().raw();
  if (name.empty()) return;
  const std::string extension = extensionOf(name);
  // A name already of the type ("Photo.jpg" for JPEG) keeps its spelling.
  if (!extension.empty() && among(types_, extension)) return;
  const bool replaced = !extension.empty() && (among(previous, extension) || among(known_, extension));
  dialog_->set_current_name((replaced ? name.substr(0, extensionDot(name)) : name) + "." + types_.front());
}

void FilePanel::applyFilter() {
  for (const auto& filter : dialog_->list_filters()) dialog_->remove_filter(filter);
  if (types_.empty()) return;
  auto filter = Gtk::FileFilter::create();
  std::vector<std::string> spellings;
  for (const auto& type : types_) {
    // "jpeg" and "jpg" each bring both spellings: each is offered once.
    for (const std::string& spelling : spellingsOf(type)) {
      if (std::find(spellings.begin(), spellings.end(), spelling) == spellings.end()) spellings.push_back(spelling);
    }
  }
  std::string name;
  for (const std::string& spelling : spellings) {
    // Patterns are case-sensitive in GTK; accept any case as AppKit does ("*.[sS][vV][gG]" takes ".SvG").
    std::string pattern = "*.";
    for (const char c : spelling) {
      const auto letter = static_cast<unsigned char>(c);
      if (std::isalpha(letter)) {
        pattern += {'[', static_cast<char>(std::tolower(letter)), static_cast<char>(std::toupper(letter)), ']'};
      } else {
        pattern += c;
      }
    }
    filter->add_pattern(pattern);
    name += (name.empty() ? "" : ", ") + spelling;
  }
  filter->set_name(name);
  dialog_->add_filter(filter);
}

std::string FilePanel::withAllowedExtension(const std::string& path) const {
  if (types_.empty()) return path;
  return among(types_, extensionOf(path)) ? path : path + "." + types_.front();
}

bool FilePanel::completeTypedName() {
  if (kind_ != Kind::Save || types_.empty()) return false;
  const std::string typed = dialog_->get_current_name().raw();
  const std::string chosen = dialog_->get_filename();
  if (typed.empty() || chosen.empty()) return false;
  const std::string extension = extensionOf(chosen);
  if (typeFromName_ && !extension.empty() && !among(types_, extension)) typeFromName_(spellingsOf(extension).front());
  if (withAllowedExtension(chosen) == chosen) return false;
  dialog_->set_current_name(typed + "." + types_.front());
  // Answering again, GTK checks the completed name: the file it asks about replacing is the one written.
  dispatchAsync([self = shared_from_this()] {
    if (self->dialog_) self->dialog_->response(Gtk::RESPONSE_ACCEPT);
  });
  return true;
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
    if (accepted && self->completeTypedName()) return;
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
