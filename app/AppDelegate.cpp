#include "app/AppDelegate.h"

#include <gtkmm/window.h>

#include <algorithm>

#include "app/CMAboutWindowController.h"
#include "app/CMDocumentOpening.h"
#include "app/CMHelpWindowController.h"
#include "app/CMNewDocumentWindowController.h"
#include "app/CMPreferenceWindowController.h"
#include "app/CMTemplatesWindowController.h"
#include "app/CMWindowLayout.h"
#include "app/HUDWindow.h"
#include "document/CMDocument.h"
#include "document/CMKeyBindingManager.h"
#include "document/CMProject.h"
#include "document/CMShapeLibraries.h"
#include "document/CMUserNotices.h"
#include "platform/core/bundle.h"
#include "platform/core/document_controller.h"
#include "platform/core/files.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/log.h"
#include "platform/core/main_queue.h"
#include "platform/core/resources.h"
#include "platform/core/string_conversions.h"
#include "platform/core/user_defaults.h"
#include "platform/core/user_defaults_controller.h"
#include "platform/graphics/attributed_string.h"
#include "platform/graphics/bezier_path.h"
#include "platform/graphics/graphics_context.h"
#include "platform/ui/label.h"
#include "platform/ui/recent_documents.h"
#include "platform/ui/window.h"
#include "shortcuts/KRCommon.h"
#include "ui/CMMainWindowController.h"

namespace {

constexpr const char* kShouldRunFirst = "shouldRunFirst";
constexpr platform::Size kTourSize{600, 420};
constexpr double kInformationRadius = 10;

const platform::Color kWhite{1, 1, 1, 1};
const platform::Color kGrey{0.5, 0.5, 0.5, 1};
const platform::Color kDark{0.239, 0.239, 0.239, 1};
const platform::Color kBlack{0, 0, 0, 1};

// An information view: its panel's background and a border from (-1, 0) to one past its right and top edges, then
// its text; the rounded ones are clipped to a radius of 10.
class CMInformationView : public platform::View {
 public:
  CMInformationView(std::string text, bool rounded) : text_(std::move(text)), rounded_(rounded) {}
  void setColors(platform::Color background, platform::Color border) {
    background_ = background;
    border_ = border;
    setNeedsDisplay();
  }
  void drawRect(const platform::Rect&) override {
    platform::GraphicsContext* context = platform::GraphicsContext::current();
    if (!context) return;
    const platform::Size size = frame().size;
    const double radius = rounded_ ? kInformationRadius : 0;
    context->saveGraphicsState();
    context->clipToPath(platform::BezierPath::roundedRect(bounds(), radius, radius));
    context->setFillColor(background_);
    context->rectFill(bounds());
    context->setStrokeColor(border_);
    context->strokePath(
        platform::BezierPath::roundedRect({-1, 0, size.width + 2, size.height + 1}, radius, radius));
    platform::TextAttributes attributes;
    attributes.foregroundColor = background_.red() > 0.5 ? kDark : platform::Color{0.85, 0.85, 0.85, 1};
    platform::AttributedString(text_, attributes).drawInRect({10, 6, size.width - 20, size.height - 12});
    context->restoreGraphicsState();
  }

 private:
  std::string text_;
  bool rounded_;
  platform::Color background_ = kWhite;
  platform::Color border_ = kGrey;
};

constexpr const char* kPanelTexts[] = {
    "Draw with the tools on the left; each has a key, which Preferences lets you change.",
    "Shapes, lines, text and images live in layers: the Layers panel orders, hides and locks them.",
    "Open CorelDRAW files, import SVG and images, export PNG, SVG and PDF.",
    "Start from a template or a sample, or save your own drawing as a template.",
};

}  // namespace

void AppDelegate::initialize() {
  static const bool registered = [] {
    // Tool tips name keys as the keyboard layout does.
    CMKeyBindingManager::setKeyNames({KRKeyNameForKeyCode, KRModifierGlyphsForCocoaFlags});
    const platform::DictRef defaults = platform::Dictionary::make({{kShouldRunFirst, true}});
    platform::UserDefaults::standardUserDefaults().registerDefaults(defaults);
    platform::UserDefaultsController::shared().setInitialValues(defaults);
    return true;
  }();
  (void)registered;
}

AppDelegate::AppDelegate() {
  initialize();
  opener_ = [](const std::filesystem::path& path) { openFileDisplayed(path); };
  const platform::Color colours[4][2] = {{kWhite, kGrey}, {kDark, kBlack}, {kDark, kBlack}, {kWhite, kGrey}};
  for (std::size_t index = 0; index < panels_.size(); ++index) {
    panels_[index].background = colours[index][0];
    panels_[index].border = colours[index][1];
  }
}

AppDelegate::~AppDelegate() {
  if (noticesShown_) CMUserNotices::install(nullptr);
  if (hideHook_) g_signal_remove_emission_hook(g_signal_lookup("hide", GTK_TYPE_WIDGET), hideHook_);
}

std::int64_t AppDelegate::appVersionNumber(std::string_view version) { return platform::stringIntegerValue(version); }

void AppDelegate::appVersionCheck() {
  platform::UserDefaults& defaults = platform::UserDefaults::standardUserDefaults();
  if (const platform::DictRef info = platform::dictionaryResource("DefaultsInfo")) defaults.registerDefaults(info);
  const std::int64_t version = appVersionNumber(platform::bundleInfoValue("CFBundleVersion").string());
  defaults.setInteger(version, "Appversion");
  defaults.synchronize();
  platform::log(platform::LogLevel::Debug, "App Short Bundle Version : " + std::to_string(version));
}

void AppDelegate::applicationDidFinishLaunching() {
  appVersionCheck();
  CMProject& project = CMProject::shareProject();
  project.setDelegate(this);
  CMShapeLibraries::updateShapesLibrary();
  // Every file asked for before launching ended, in the order asked.
  std::vector<std::filesystem::path> queued;
  queued.swap(openFilePaths_);
  if (!queued.empty()) project.setLockAutoOpenDocument(false);
  for (const std::filesystem::path& path : queued) open(path);
  applicationHasStarted_ = true;
  const bool tour = platform::UserDefaults::standardUserDefaults().boolForKey(kShouldRunFirst);
  if (tour) showTourWindow();
  if (appVersion_.empty()) appVersion_ = CMAboutWindowController::versionText();
  // A launch never ends without a window: without the tour and without an open document (no file asked for, or
  // every one failed and said why), the new-document window.
  if (!tour && platform::DocumentController::shared().documents().empty()) OnNewDocument(false);
  // What the stores read at start-up found wrong is told once the first window is up, and later notices at once.
  platform::dispatchAsync([this, alive = std::weak_ptr<bool>(alive_)] {
    if (alive.expired()) return;
    noticesShown_ = true;
    CMUserNotices::install([](const std::vector<std::string>& notices) {
      std::string text;
      for (const std::string& notice : notices) text += (text.empty() ? "" : "\n\n") + notice;
      // Told once the command that found them has shown its windows (File ▸ New from Template… reads the
      // templates before its window shows), so the alert stands on the window in front.
      platform::dispatchAsync([text] { presentErrorText(text); });
    });
  });
}

void AppDelegate::open(const std::filesystem::path& path) {
  if (opener_) opener_(path);
}

void AppDelegate::applicationOpenFile(const std::filesystem::path& path) {
  if (applicationHasStarted_) {
    open(path);
  } else {
    openFilePaths_.push_back(path);
  }
  if (tourWindow_) tourWindow_->window().hide();
}

void AppDelegate::applicationActivate() {
  std::shared_ptr<CMMainWindowController> main = CMMainWindowController::sharedWindowController();
  if (main->window().isVisible()) return main->window().gtkWindow().present();
  for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
    if (window->get_visible() && window->get_window_type() == Gtk::WINDOW_TOPLEVEL) return window->present();
  }
  OnNewDocument(false);
}

void AppDelegate::watchWindows() {
  if (hideHook_) return;
  const auto windowDidHide = +[](GSignalInvocationHint*, guint, const GValue* parameters, gpointer data) -> gboolean {
    if (!GTK_IS_WINDOW(g_value_get_object(&parameters[0]))) return TRUE;
    auto* delegate = static_cast<AppDelegate*>(data);
    if (delegate->checkQueued_) return TRUE;
    delegate->checkQueued_ = true;
    platform::dispatchAsync([delegate, alive = std::weak_ptr<bool>(delegate->alive_)] {
      if (alive.expired()) return;
      delegate->checkQueued_ = false;
      delegate->checkForVisibleWindows();
    });
    return TRUE;
  };
  hideHook_ = g_signal_add_emission_hook(g_signal_lookup("hide", GTK_TYPE_WIDGET), 0, windowDidHide, this, nullptr);
}

void AppDelegate::checkForVisibleWindows() {
  for (Gtk::Window* window : Gtk::Window::list_toplevels()) {
    if (window->get_visible() && window->get_window_type() == Gtk::WINDOW_TOPLEVEL) return;
  }
  if (terminate_) terminate_();
}

// ---- tour window ----

HUDWindow& AppDelegate::tourWindow() {
  if (!tourWindow_) buildTourWindow();
  return *tourWindow_;
}

HUDButtonCell* AppDelegate::tourButton(const std::string& title) const {
  for (const auto& button : tourButtons_)
    if (button->title() == title) return button.get();
  return nullptr;
}

void AppDelegate::buildTourWindow() {
  tourWindow_ = std::make_unique<HUDWindow>(kTourSize, "Welcome to Draftwork");
  auto content = std::make_shared<platform::View>(
      platform::Rect{0, 0, kTourSize.width, kTourSize.height - HUDWindowFrameView::kTitleBarHeight});
  struct Entry {
    const char* title;
    std::function<void()> action;
  };
  std::vector<Entry> entries{
      {"New Document\u2026", [this] { OnNewDocument(true); }},
      {"From Template\u2026", [this] { OnFromTemplates(); }},
      {"Open\u2026", [] { platform::DocumentController::shared().openDocumentWithPanel(); }},
      {"Open Last Document", [this] { openLastDocument(); }},
  };
  for (std::size_t index = 0; index < std::size(kSampleNames); ++index) {
    entries.push_back({kSampleTitles[index], [this, index] { loadSample(kSampleNames[index]); }});
  }
  entries.push_back({"Help", [this] { OnShowHelpWindow(); }});
  // The maker's pages, each only when the defaults hold its address.
  platform::UserDefaults& defaults = platform::UserDefaults::standardUserDefaults();
  for (const CMAboutWindowController::Link& link : CMAboutWindowController::kLinks) {
    if (!defaults.stringForKey(link.key).empty())
      entries.push_back({link.title, [key = link.key] { CMAboutWindowController::visitLink(key); }});
  }
  // The buttons share the column above the check box, 30 points apart while they fit.
  double top = kTourSize.height - HUDWindowFrameView::kTitleBarHeight - 40;
  const double step = std::min(30.0, (top - 20) / static_cast<double>(entries.size()));
  for (const Entry& entry : entries) {
    auto button = std::make_shared<HUDButtonCell>(platform::Rect{20, top, 200, step - 6}, HUDButtonCell::Type::Push,
                                                  entry.title);
    button->setAction([action = entry.action](platform::Control&) { action(); });
    if (tourButtons_.empty()) button->setKeyEquivalent("\r");
    content->addSubview(button);
    tourButtons_.push_back(button);
    top -= step;
  }
  auto startUp = std::make_shared<HUDButtonCell>(platform::Rect{20, 14, 200, 20}, HUDButtonCell::Type::CheckBox,
                                                 "Show at start-up");
  startUp->setState(defaults.boolForKey(kShouldRunFirst) ? 1 : 0);
  startUp->setAction([](platform::Control& sender) {
    platform::UserDefaults& defaults = platform::UserDefaults::standardUserDefaults();
    defaults.setBool(static_cast<HUDButtonCell&>(sender).state() == 1, kShouldRunFirst);
    defaults.synchronize();
  });
  content->addSubview(startUp);
  tourButtons_.push_back(startUp);
  // Four information panels, two by two, each showing its information view.
  const double panelWidth = 160;
  const double panelHeight = 150;
  for (std::size_t index = 0; index < panels_.size(); ++index) {
    const double x = 250 + static_cast<double>(index % 2) * (panelWidth + 10);
    const double y = 200 - static_cast<double>(index / 2) * (panelHeight + 10);
    panels_[index].placeHolderView = std::make_shared<platform::View>(platform::Rect{x, y, panelWidth, panelHeight});
    content->addSubview(panels_[index].placeHolderView);
    showView(panels_[index], std::make_shared<CMInformationView>(kPanelTexts[index], index < 2));
  }
  if (appVersion_.empty()) appVersion_ = CMAboutWindowController::versionText();
  auto version = std::make_shared<platform::Label>(platform::Rect{250, 14, 330, 20}, appVersion_);
  version->gtkLabel().override_color(Gdk::RGBA("#b3b3b3"));
  content->addSubview(version);
  tourWindow_->setContentView(content);
}

void AppDelegate::showView(CMInformationPanel& panel, std::shared_ptr<platform::View> view) {
  if (view == panel.activeView) return;
  if (panel.activeView) panel.activeView->removeFromSuperview();
  const platform::Rect frame = panel.placeHolderView ? panel.placeHolderView->bounds() : platform::Rect{};
  view->setFrame(frame);
  if (auto* information = dynamic_cast<CMInformationView*>(view.get()))
    information->setColors(panel.background, panel.border);
  if (panel.placeHolderView) panel.placeHolderView->addSubview(view);
  panel.activeView = std::move(view);
}

void AppDelegate::showTourWindow() {
  showCentred(tourWindow().window());
}

// ---- commands ----

void AppDelegate::OnNewDocument(bool fromSender) {
  CMNewDocumentWindowController& newDocument = CMNewDocumentWindowController::sharedNewDocument();
  if (fromSender) {
    platform::UserDefaults& defaults = platform::UserDefaults::standardUserDefaults();
    defaults.setInteger(0, "typeId");
    defaults.synchronize();
  }
  newDocument.setFirstLauncheMode(!fromSender);
  newDocument.showWindow();
  applicationHasStarted_ = true;
  if (tourWindow_) tourWindow_->window().hide();
}

void AppDelegate::OnFromTemplates() {
  if (tourWindow_) tourWindow_->window().hide();
  CMProject::shareProject().setLockAutoOpenDocument(false);
  CMTemplatesWindowController& templates = CMTemplatesWindowController::sharedTemplate();
  templates.loadItems();
  templates.showWindow();
}

void AppDelegate::openLastDocument() {
  const std::vector<std::filesystem::path> recent = platform::RecentDocuments::recentDocumentURLs();
  if (recent.empty()) return;
  open(recent.front());
  // The drawing opened takes the tour's place; after a failure the tour stays beside the alert saying why.
  if (tourWindow_ && platform::DocumentController::shared().documentForURL(recent.front()))
    tourWindow_->window().hide();
}

void AppDelegate::loadSample(const std::string& name) {
  // A copy: saving it asks for a file of the user's own, the installed sample stays as it is.
  if (newDocumentFromSample(name) && tourWindow_) tourWindow_->window().hide();
}

void AppDelegate::quit() {
  closeAllDocumentsThen([this] {
    if (terminate_) terminate_();
  });
}

void AppDelegate::OnShowPreferences() { CMPreferenceWindowController::sharedPreference().showWindow(); }

void AppDelegate::OnGridSettings() {
  CMPreferenceWindowController& preferences = CMPreferenceWindowController::sharedPreference();
  preferences.selectTab(0);
  preferences.showWindow();
}

void AppDelegate::OnShowHelpWindow() { CMHelpWindowController::sharedHelp().showWindow(); }

void AppDelegate::OnShowAboutWindow() { CMAboutWindowController::sharedAbout().showWindow(); }
