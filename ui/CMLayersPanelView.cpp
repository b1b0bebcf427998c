// The layers panel: its views, rows, drawing and the selection kept in step with the canvas.

#include "ui/CMLayersPanelView.h"

#include <optional>
#include <string>
#include <utility>

#include "document/CMDocument.h"
#include "document/CMNotificationNames.h"
#include "platform/core/log.h"
#include "platform/core/resources.h"
#include "platform/graphics/attributed_string.h"
#include "platform/graphics/graphics_context.h"
#include "platform/graphics/image.h"
#include "platform/ui/image_named.h"
#include "platform/ui/menu.h"
#include "platform/ui/scroll_view.h"
#include "ui/CMPanelRootView.h"
#include "ui/CMPanelWindow.h"
#include "ui/CMTextEditWindow.h"
#include "ui/CMToolboxView.h"

namespace {

constexpr double kInitialWidth = 250;
constexpr double kInitialHeight = 400;

struct ButtonSpec {
  const char* toolTip;
  const char* image;
  double offset;
  int tag;
};

constexpr ButtonSpec kButtons[] = {
    {"Duplicate", "duplicatelayer", 0, CMLayersPanelView::kDuplicateTag},
    {"Delete", "deletelayer", 36, CMLayersPanelView::kDeleteTag},
    {"Rename", "renamelayer", 72, CMLayersPanelView::kRenameTag},
    {"Up", "layerup", 108, CMLayersPanelView::kUpTag},
    {"Down", "layerdown", 144, CMLayersPanelView::kDownTag},
};

const std::optional<platform::Image>& eyeImage() {
  static const std::optional<platform::Image> image = []() -> std::optional<platform::Image> {
    auto read = platform::Image::fromFile(platform::pathForResource("eye", "png", "images"));
    if (!read) return std::nullopt;
    return std::move(read).value();
  }();
  return image;
}

platform::TextAttributes nameAttributes(bool selected) {
  platform::TextAttributes attributes;
  attributes.font = platform::Font::systemFont(12);
  attributes.foregroundColor = selected ? platform::Color::whiteColor() : platform::Color::blackColor();
  attributes.paragraphStyle = platform::ParagraphStyle{platform::TextAlignment::Left,
                                                       platform::LineBreakMode::TruncatingTail};
  return attributes;
}

}  // namespace

CMLayersPanelView::CMLayersPanelView()
    : topToolbar_(std::make_shared<CMToolboxView>(platform::Rect{0, kInitialHeight - kButtonRowHeight, kInitialWidth,
                                                                 kButtonRowHeight})),
      scrollView_(std::make_shared<platform::ScrollView>(
          platform::Rect{0, 0, kInitialWidth, kInitialHeight - kButtonRowHeight})),
      tableView_(std::make_shared<CMLayerTableView>(platform::Rect{0, 0, kInitialWidth, 0}, kRowHeight)) {
  auto root = std::make_shared<CMPanelRootView>(platform::Rect{0, 0, kInitialWidth, kInitialHeight},
                                                [this](platform::Size size) { layout(size); });
  scrollView_->setHasHorizontalScroller(false);
  scrollView_->setDocumentView(tableView_);
  root->addSubview(scrollView_);
  root->addSubview(topToolbar_);
  tableView_->setDataSource(this);
  tableView_->setLayerDelegate(this);
  tableView_->registerForDraggedTypes({platform::pasteboard_type::LayerRows});
  setView(std::move(root));
  buildButtonRow();
  buildContextMenu();
  platform::NotificationCenter& center = platform::NotificationCenter::defaultCenter();
  layersChanged_ = center.addObserver(kNotificationLayersChanged, [this](const platform::Notification&) { update(); });
  layersReCreated_ =
      center.addObserver(kNotificationLayersReCreate, [this](const platform::Notification&) { updateLayers(); });
  layout(view()->frame().size);
}

CMLayersPanelView::~CMLayersPanelView() { tableView_->setDataSource(nullptr); }

void CMLayersPanelView::buildButtonRow() {
  for (const ButtonSpec& spec : kButtons) {
    auto button = std::make_shared<CMToolbarButton>(platform::Rect{spec.offset + 8, 2, 32, 32},
                                                    platform::ButtonType::MomentaryPush);
    button->setImages(platform::pixbufNamed(spec.image), platform::pixbufNamed(std::string(spec.image) + "clicked"));
    button->setToolTip(spec.toolTip);
    button->setTag(spec.tag);
    button->setAction([this](platform::Control& sender) { OnSelectAction(sender.tag()); });
    topToolbar_->addSubview(button);
    buttons_.push_back(std::move(button));
  }
  updateToolbarStates();
}

CMToolbarButton* CMLayersPanelView::buttonWithTag(int tag) const {
  for (const auto& button : buttons_)
    if (button->tag() == tag) return button.get();
  return nullptr;
}

void CMLayersPanelView::buildContextMenu() {
  contextMenu_ = std::make_shared<platform::Menu>();
  platform::Menu& menu = *contextMenu_;
  const auto item = [&](const char* title, int tag, std::function<void()> action) {
    menu.addItem(title, [action = std::move(action)](platform::MenuItem&) { action(); })
        .setValidator([this, tag](platform::MenuItem&) { return validateMenuItem(tag); });
  };
  item("Up", kMenuUpTag, [this] { OnMoveUpAction(); });
  item("Down", kMenuDownTag, [this] { OnMoveDownAction(); });
  menu.addSeparator();
  item("Group", 0, [this] { OnGroup(); });
  item("Ungroup", 0, [this] { OnUngroup(); });
  item("Lock / Unlock", 0, [this] { OnLock(); });
  item("Hide / Show", 0, [this] { OnHideShowAction(); });
  menu.addSeparator();
  item("Rename\u2026", 0, [this] { OnEditAction(); });
  item("Duplicate", 0, [this] { OnDublicateAction(); });
  item("Delete", 0, [this] { OnRemoveAction(); });
  tableView_->setMenu(contextMenu_);
}

void CMLayersPanelView::layout(platform::Size size) {
  topToolbar_->setFrame({0, size.height - kButtonRowHeight, size.width, kButtonRowHeight});
  scrollView_->setFrame({0, 0, size.width, std::max(0.0, size.height - kButtonRowHeight)});
  fitTable();
}

void CMLayersPanelView::fitTable() {
  // The scroller shows only when the rows do not fit.
  const double rowsHeight = static_cast<double>(tableView_->numberOfRows()) * kRowHeight;
  scrollView_->setHasVerticalScroller(rowsHeight > scrollView_->frame().size.height);
  scrollView_->tile();
  tableView_->sizeToFit();
  scrollView_->tile();
}

void CMLayersPanelView::setDocument(std::shared_ptr<CMDocument> document) {
  // Rows are kept selected by index and layer id, and ids start at 1 in every drawing: another drawing's rows
  // start unselected, as its canvas does.
  if (document != this->document()) tableView_->deselectAll();
  CMBasePanelView::setDocument(std::move(document));
  updateLayers();
  updateToolbarStates();
}

void CMLayersPanelView::updateLayers() {
  rows_.rebuild(document() ? document()->data() : nullptr);
  tableView_->reloadData();
  fitTable();
  updateToolbarStates();
}

void CMLayersPanelView::update() {
  const std::unordered_set<std::int32_t> ids = rows_.idsOfRows(tableView_->selectedRowIndexes());
  updateLayers();
  const platform::IndexSet kept = rows_.rowsWithIDs(ids);
  if (platform::isDebugLogging()) {
    for (const std::size_t row : kept) platform::log(platform::LogLevel::Debug, "indexSet 1 : " + std::to_string(row));
    platform::log(platform::LogLevel::Debug, "indexSet 2 : " + kept.description());
  }
  tableView_->selectRowIndexes(kept, false);
  updateToolbarStates();
}

void CMLayersPanelView::selectLayer(const platform::DictRef& record) {
  const bool shift = CMPanelWindow::shared().isShiftPressed();
  const std::optional<std::size_t> row = record ? rows_.rowOfID(record->get("id").intValue()) : std::nullopt;
  if (row) {
    const platform::IndexSet chosen{*row};
    tableView_->selectRowIndexes(chosen, shift);
    if (platform::isDebugLogging())
      platform::log(platform::LogLevel::Debug, "indexSet 3 : " + chosen.description());
  } else {
    tableView_->deselectAll();
  }
  updateToolbarStates();
}

void CMLayersPanelView::showSelection(const Records& records) {
  std::unordered_set<std::int32_t> ids;
  bool listed = true;
  for (const platform::DictRef& record : records) {
    if (!record) continue;
    const std::int32_t id = record->get("id").intValue();
    ids.insert(id);
    listed = listed && rows_.layerByID(id) == record;
  }
  // Layers just made have no row yet, and undo puts copies in the places of the rows' records.
  if (!listed) updateLayers();
  tableView_->selectRowIndexes(rows_.rowsWithIDs(ids), false);
  updateToolbarStates();
}

void CMLayersPanelView::selectAll() {
  tableView_->selectAll();
  updateToolbarStates();
}

CMLayersPanelView::Records CMLayersPanelView::selectedLayers() const {
  return selectedLayers(tableView_->selectedRowIndexes());
}

CMLayersPanelView::Records CMLayersPanelView::selectedLayers(const platform::IndexSet& rows) const {
  Records records;
  records.reserve(rows.count());
  for (const std::size_t row : rows)
    if (row < rows_.size()) records.push_back(rows_[row].record);
  return records;
}

void CMLayersPanelView::updateToolbarStates() { updateToolbarStates(tableView_->selectedRowIndexes()); }

void CMLayersPanelView::updateToolbarStates(const platform::IndexSet& rows) {
  for (int tag = kDuplicateTag; tag <= kDownTag; ++tag)
    if (CMToolbarButton* button = buttonWithTag(tag)) button->setEnabled(!rows.empty());
}

bool CMLayersPanelView::validateMenuItem(int tag) const {
  const platform::IndexSet& selected = tableView_->selectedRowIndexes();
  if (selected.empty()) return false;
  if (tag == kMenuDownTag && selected.lastIndex() == rows_.size() - 1) return false;
  if (tag == kMenuUpTag && selected.firstIndex() == 0) return false;
  return true;
}

platform::Rect CMLayersPanelView::eyeRect(std::int32_t level) {
  return {kIndent * level + kEyeX, (kRowHeight - kEyeSize) / 2, kEyeSize, kEyeSize};
}

std::size_t CMLayersPanelView::numberOfRows(const platform::TableView&) const {
  return document() ? rows_.size() : 0;
}

void CMLayersPanelView::drawRow(const platform::TableView&, std::size_t row, const platform::Rect& rect,
                                bool selected) const {
  const CMLayerRow& layer = rows_[row];
  const platform::Rect eye = eyeRect(layer.level);
  if (layer.record->get("visible").boolValue() && eyeImage()) {
    eyeImage()->drawInRect({rect.origin.x + eye.origin.x, rect.origin.y + eye.origin.y, eye.size.width,
                            eye.size.height},
                           {}, platform::CompositingOperation::SourceOver, 1);
  }
  const double x = nameX(layer.level);
  const platform::AttributedString name(CMLayerRows::displayName(layer.record), nameAttributes(selected));
  const double height = name.size().height;
  name.drawInRect({rect.origin.x + x, rect.origin.y + (rect.size.height - height) / 2,
                   std::max(0.0, rect.size.width - x - 4), height});
}

bool CMLayersPanelView::mouseDownInRow(platform::TableView&, std::size_t row, platform::Point point) {
  const CMLayerRow& layer = rows_[row];
  const platform::Rect eye = eyeRect(layer.level);
  // The eye is a button the height of the row.
  if (point.x < eye.origin.x || point.x >= eye.origin.x + eye.size.width) return false;
  OnHiddenAction(layer.id);
  return true;
}

platform::IndexSet CMLayersPanelView::selectionIndexesForProposedSelection(platform::TableView& table,
                                                                           const platform::IndexSet& proposed) {
  // The clicked row first, so its layer becomes the current one; then the others in order.
  Records records;
  records.reserve(proposed.count());
  const std::ptrdiff_t clicked = table.clickedRow();
  const bool clickedIsChosen = clicked >= 0 && proposed.contains(static_cast<std::size_t>(clicked));
  if (clickedIsChosen) records.push_back(rows_[static_cast<std::size_t>(clicked)].record);
  for (const std::size_t row : proposed)
    if (!clickedIsChosen || row != static_cast<std::size_t>(clicked)) records.push_back(rows_[row].record);
  CMPanelWindow::shared().selectLayers(records, this);
  updateToolbarStates(proposed);
  return proposed;
}
