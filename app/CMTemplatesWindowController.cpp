#include "app/CMTemplatesWindowController.h"

#include <gdkmm/general.h>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/window.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string_view>

#include "app/CMDocumentOpening.h"
#include "document/CMDocument.h"
#include "document/CMProject.h"
#include "document/CMTemplateStore.h"
#include "platform/core/document_controller.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/resources.h"
#include "platform/graphics/image_limits.h"
#include "ui/CMApplicationCommands.h"

namespace {

constexpr int kItemSize = 140;
constexpr int kButtonInset = 20;
constexpr int kButtonSize = 100;
// The samples the window offers as starting points.
constexpr const char* kTemplateSamples[] = {"manshirtback", "menVardelle", "womanVardelle", "floraldesign"};

// A PNG file's size from its header (signature, then the IHDR chunk's big-endian width and height); none for
// anything else.
std::optional<std::pair<long long, long long>> pngSize(const std::filesystem::path& path) {
  std::array<unsigned char, 24> header{};
  std::ifstream stream(path, std::ios::binary);
  if (!stream.read(reinterpret_cast<char*>(header.data()), header.size())) return std::nullopt;
  constexpr std::array<unsigned char, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (!std::equal(kSignature.begin(), kSignature.end(), header.begin())) return std::nullopt;
  const auto bigEndian = [&header](std::size_t at) {
    return (static_cast<long long>(header[at]) << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
  };
  return std::pair{bigEndian(16), bigEndian(20)};
}

// The thumbnail image: a PNG within the image limits (its size read from the header first, so a hostile one is
// never decoded); none for anything else or a file that cannot be read.
Glib::RefPtr<Gdk::Pixbuf> loadImage(const std::filesystem::path& path) {
  if (path.empty()) return {};
  const auto size = pngSize(path);
  if (!size || !platform::checkImageSize(size->first, size->second)) return {};
  GdkPixbuf* image = gdk_pixbuf_new_from_file(path.c_str(), nullptr);
  return image ? Glib::wrap(image) : Glib::RefPtr<Gdk::Pixbuf>();
}

}  // namespace

// ---- button ----

CMTemplateItemButton::CMTemplateItemButton(Glib::RefPtr<Gdk::Pixbuf> image) : image_(std::move(image)) {
  set_relief(Gtk::RELIEF_NONE);
  set_size_request(kButtonSize, kButtonSize);
  signal_pressed().connect([this] {
    pressed_ = true;
    queue_draw();
  });
  signal_released().connect([this] {
    pressed_ = false;
    queue_draw();
  });
}

platform::Rect CMTemplateItemButton::imageRect(platform::Size b, platform::Size image) {
  if (image.width <= 0 || image.height <= 0) return {};
  const double r = image.width / image.height;
  platform::Size size;
  if (image.width < image.height) {
    size = {b.width / 2, b.width / (2 * r)};
    if (size.height > b.height) size = {r * b.height / 2, b.height / 2};
  } else {
    size = {r * b.height / 2, b.height / 2};
    if (size.width > b.width) size = {b.width / 2, b.width / (2 * r)};
  }
  return {{0, 0}, size};
}

void CMTemplateItemButton::draw(const Cairo::RefPtr<Cairo::Context>& cr, platform::Size bounds,
                                const Glib::RefPtr<Gdk::Pixbuf>& image, bool highlighted, bool on) {
  if (!image) return;
  platform::Rect rect = imageRect(bounds, {double(image->get_width()), double(image->get_height())});
  if (rect.size.width <= 0 || rect.size.height <= 0) return;
  cr->save();
  if (highlighted || on) {
    const double grey = highlighted ? 0.5 : 0.7;
    cr->set_source_rgba(grey, grey, grey, 1);
    cr->rectangle(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cr->fill();
  }
  cr->rectangle(rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
  cr->clip();
  cr->translate(rect.origin.x, rect.origin.y);
  cr->scale(rect.size.width / image->get_width(), rect.size.height / image->get_height());
  Gdk::Cairo::set_source_pixbuf(cr, image, 0, 0);
  // Shrinking averages every source pixel: bilinear reads only the four nearest, so a thumbnail's thin lines that
  // fall between the rows it reads vanish.
  cairo_pattern_set_filter(cairo_get_source(cr->cobj()), CAIRO_FILTER_GOOD);
  cr->paint_with_alpha(highlighted || on ? 0.5 : 1);
  cr->restore();
}

bool CMTemplateItemButton::on_draw(const Cairo::RefPtr<Cairo::Context>& cr) {
  draw(cr, {double(get_allocated_width()), double(get_allocated_height())}, image_, pressed_, get_active());
  return true;
}

// ---- item ----

Glib::RefPtr<Gdk::Pixbuf> CMTemplateItemPrototype::thumbnail(const platform::DictRef& record,
                                                             const std::filesystem::path& supportFolder) {
  const std::string name = templateImageName(record);
  if (name.empty()) return {};
  if (auto image = loadImage(supportFolder / name)) return image;
  const std::filesystem::path file(name);
  std::string extension = file.extension().string();
  if (!extension.empty()) extension.erase(0, 1);
  return loadImage(platform::pathForResource(file.stem().string(), extension));
}

CMTemplateItemPrototype::CMTemplateItemPrototype(platform::DictRef record, const std::filesystem::path& supportFolder)
    : record_(std::move(record)) {
  // The item is its button with a 20-point margin all round: 140 × 140.
  button_ = Gtk::make_managed<CMTemplateItemButton>(thumbnail(record_, supportFolder));
  button_->property_margin() = kButtonInset;
  static_assert(kButtonSize + 2 * kButtonInset == kItemSize);
}

// ---- window ----

CMTemplatesWindowController& CMTemplatesWindowController::sharedTemplate() {
  static CMTemplatesWindowController controller;
  return controller;
}

CMTemplatesWindowController::CMTemplatesWindowController() : templates_(platform::Array::make()) {}
CMTemplatesWindowController::~CMTemplatesWindowController() = default;

Gtk::Window& CMTemplatesWindowController::window() {
  if (!window_) loadWindow();
  return *window_;
}

void CMTemplatesWindowController::showWindow() {
  window().set_position(Gtk::WIN_POS_CENTER);
  window_->show_all();
}

Gtk::FlowBox* CMTemplatesWindowController::makeFlowBox() {
  auto* box = Gtk::make_managed<Gtk::FlowBox>();
  box->set_selection_mode(Gtk::SELECTION_NONE);
  box->set_homogeneous(true);
  // The rows keep their items' height at the top, rather than sharing out the scroller's height.
  box->set_valign(Gtk::ALIGN_START);
  return box;
}

void CMTemplatesWindowController::loadWindow() {
  window_ = std::make_unique<Gtk::Window>();
  window_->set_title("Templates");
  window_->set_default_size(620, 460);
  auto* box = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_VERTICAL, 8);
  box->set_border_width(10);
  auto* scroller = Gtk::make_managed<Gtk::ScrolledWindow>();
  scroller->set_vexpand(true);
  flowBox_ = makeFlowBox();
  scroller->add(*flowBox_);
  box->pack_start(*scroller);
  auto* samples = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_HORIZONTAL, 8);
  for (const char* name : kTemplateSamples) {
    const std::size_t index = static_cast<std::size_t>(
        std::find_if(std::begin(CMApplicationCommands::kSampleNames), std::end(CMApplicationCommands::kSampleNames),
                     [name](const char* sample) { return std::string_view(sample) == name; }) -
        std::begin(CMApplicationCommands::kSampleNames));
    auto* sample = Gtk::make_managed<Gtk::Button>(CMApplicationCommands::kSampleTitles[index]);
    sample->signal_clicked().connect([this, name] { loadSample(name); });
    samples->pack_start(*sample, Gtk::PACK_SHRINK);
  }
  box->pack_start(*samples, Gtk::PACK_SHRINK);
  auto* buttons = Gtk::make_managed<Gtk::Box>(Gtk::ORIENTATION_HORIZONTAL, 8);
  auto* close = Gtk::make_managed<Gtk::Button>("Close");
  close->signal_clicked().connect([this] { OnClose(); });
  create_ = Gtk::make_managed<Gtk::Button>("Create");
  create_->signal_clicked().connect([this] { OnCreateDocument(); });
  buttons->pack_end(*create_, Gtk::PACK_SHRINK);
  buttons->pack_end(*close, Gtk::PACK_SHRINK);
  box->pack_start(*buttons, Gtk::PACK_SHRINK);
  window_->add(*box);
  window_->signal_delete_event().connect([this](GdkEventAny*) {
    OnClose();
    return true;
  });
  loadItems();
}

void CMTemplatesWindowController::updateTemplates() {
  templates_ = platform::Array::make();
  const auto append = [this](const platform::ArrayRef& records) {
    if (records)
      for (const platform::Value& record : *records) templates_->add(record);
  };
  for (int number = 1; number <= kLastResourceNumber; ++number) {
    char name[16];
    std::snprintf(name, sizeof name, "templates%03d", number);
    const std::filesystem::path path = platform::pathForResource(name, "data");
    if (path.empty()) break;
    append(readTemplateFile(path));
  }
  append(readUserTemplateStore(CMProject::appFilePath(CMDocument::kTemplateStoreName)));
}

void CMTemplatesWindowController::loadItems() {
  updateTemplates();
  if (!window_) return loadWindow();
  // A new flow box for the new items: removing the old ones one by one would lay the box out after each.
  Gtk::Container* holder = flowBox_->get_parent();
  holder->remove(*flowBox_);
  flowBox_ = makeFlowBox();
  holder->add(*flowBox_);
  items_.clear();
  const std::filesystem::path supportFolder = CMProject::appFilePath("");
  for (const platform::Value& record : *templates_) {
    auto item = std::make_unique<CMTemplateItemPrototype>(record.dictionary(), supportFolder);
    CMTemplateItemPrototype* raw = item.get();
    item->button().signal_toggled().connect([this, raw] { OnPressButton(*raw); });
    flowBox_->add(item->button());
    items_.push_back(std::move(item));
  }
  flowBox_->show_all();
  create_->set_sensitive(false);
}

void CMTemplatesWindowController::OnPressButton(CMTemplateItemPrototype& pressed) {
  if (pressed.button().get_active()) {
    for (const auto& item : items_)
      if (item.get() != &pressed && item->button().get_active()) item->button().set_active(false);
  }
  OnSelectTemplate();
}

void CMTemplatesWindowController::OnSelectTemplate() {
  bool any = false;
  for (const auto& item : items_) any = any || item->button().get_active();
  if (create_) create_->set_sensitive(any);
}

void CMTemplatesWindowController::OnCreateDocument() {
  platform::DictRef root;
  for (const auto& item : items_) {
    if (!item->button().get_active()) continue;
    root = templateRootRecord(item->representedObject());
    // A template that holds no drawing makes no document, rather than a blank one under its name.
    if (!root) return presentErrorText("The template cannot be read.");
    break;
  }
  makeDocument(root);
}

void CMTemplatesWindowController::makeDocument(const platform::DictRef& root) {
  if (newDocumentFromDrawing(root)) window().hide();
}

void CMTemplatesWindowController::loadSample(const std::string& name) {
  if (newDocumentFromSample(name)) window().hide();
}

void CMTemplatesWindowController::OnClose() {
  if (window_) window_->hide();
  if (delegate_) delegate_();
}
