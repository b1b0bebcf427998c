// Printing: the page image goes onto the paper at its size times the scale the
// print dialog shows (checked on a PDF file read back through poppler), and a
// document that cannot render its page reports it in the "Error" alert.

#include <cairo.h>
#include <glibmm/main.h>
#include <gtk/gtkunixprint.h>
#include <gtkmm/dialog.h>
#include <gtkmm/spinbutton.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "../../platform/core/scratch_folder.h"
#include "document/CMImportExportServices.h"
#include "main_window_fixture.h"
#include "platform/ui/alert.h"
#include "ui/CMDocumentPrinting.h"

namespace ui_testing {
namespace {

using namespace std::chrono_literals;

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* bytes = static_cast<platform::Bytes*>(closure);
  bytes->insert(bytes->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

// An 800 × 600 page image: blue, with a red 100 × 100 square 150 from the left and 90 from the top.
class FakePageImage final : public CMPageImageService {
 public:
  platform::Expected<platform::Bytes> generate(CMDocument&) override {
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 800, 600));
    cairo_t* cr = cairo_create(surface.get());
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_rectangle(cr, 150, 90, 100, 100);
    cairo_fill(cr);
    cairo_destroy(cr);
    platform::Bytes png;
    cairo_surface_write_to_png_stream(surface.get(), appendBytes, &png);
    return png;
  }
};

struct Box {
  int left = 1 << 30;
  int top = 1 << 30;
  int right = -1;
  int bottom = -1;
  double width() const { return right - left + 1; }
  double height() const { return bottom - top + 1; }
};

// Bounding boxes of the clearly blue and clearly red pixels.
void findColours(cairo_surface_t* image, Box& blue, Box& red) {
  const int width = cairo_image_surface_get_width(image);
  const int height = cairo_image_surface_get_height(image);
  const int stride = cairo_image_surface_get_stride(image);
  const unsigned char* data = cairo_image_surface_get_data(image);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const auto pixel = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
      const int r = (pixel >> 16) & 0xFF;
      const int g = (pixel >> 8) & 0xFF;
      const int b = pixel & 0xFF;
      Box* box = (b > 200 && r < 60 && g < 60) ? &blue : (r > 200 && g < 60 && b < 60) ? &red : nullptr;
      if (!box) continue;
      box->left = std::min(box->left, x);
      box->top = std::min(box->top, y);
      box->right = std::max(box->right, x);
      box->bottom = std::max(box->bottom, y);
    }
  }
}

class Printing : public MainWindowTest {
 protected:
  void TearDown() override {
    CMPageImageServiceFactory::install(previous_);
    MainWindowTest::TearDown();
  }

  void installPageImage() {
    previous_ = CMPageImageServiceFactory::install([] { return std::make_unique<FakePageImage>(); });
  }

  // File ▸ Print, Print to File chosen in GTK's print dialog with `pdf` and Page Setup's Scale at `percent`, and the
  // Print button clicked; the scale Page Setup showed then.
  double printThroughTheDialog(const std::filesystem::path& pdf, double percent) {
    double shown = 0;
    int ticks = 0;
    // The dialog runs its own main loop inside the command, and is answered from there.
    sigc::connection driver = Glib::signal_timeout().connect(
        [&] {
          auto* dialog =
              dialog_testing::shown<Gtk::Dialog>([](Gtk::Dialog& up) { return GTK_IS_PRINT_UNIX_DIALOG(up.gobj()); });
          if (!dialog || !dialog->get_mapped()) return true;
          if (++ticks > 200) return dialog->response(Gtk::RESPONSE_CANCEL), false;  // no printer to file in 10 s
          GtkPrintUnixDialog* print = GTK_PRINT_UNIX_DIALOG(dialog->gobj());
          if (GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(print);
              !printer || std::string_view(gtk_printer_get_name(printer)) != "Print to File") {
            GtkPrintSettings* settings = gtk_print_settings_new();
            gtk_print_settings_set_printer(settings, "Print to File");
            gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_URI, ("file://" + pdf.string()).c_str());
            gtk_print_settings_set_scale(settings, percent);
            gtk_print_unix_dialog_set_settings(print, settings);
            g_object_unref(settings);
            return true;
          }
          std::vector<Gtk::SpinButton*> spins;
          dialog_testing::collect(dialog, spins);
          for (Gtk::SpinButton* spin : spins) {
            const char* name = gtk_buildable_get_name(GTK_BUILDABLE(spin->gobj()));
            if (name && name == std::string_view("scale_spin")) shown = spin->get_value();
          }
          auto* button = dynamic_cast<Gtk::Button*>(dialog->get_widget_for_response(Gtk::RESPONSE_OK));
          if (!button || !button->is_sensitive()) return true;
          platform::test::clickButton(*button);
          return false;
        },
        50);
    item("File", "Print")->perform();
    driver.disconnect();
    return shown;
  }

  platform::testing::ScratchFolder folder;

 private:
  CMPageImageServiceFactory::Factory previous_ = CMPageImageServiceFactory::install(nullptr);
};

TEST_F(Printing, PageImageComesOutAtItsSizeTimesTheScaleTheDialogShows) {
  installPageImage();
  const double pageWidth = newDrawingOnScreen()->data()->get("width").doubleValue();
  const std::filesystem::path pdf = folder / "page.pdf";
  EXPECT_EQ(printThroughTheDialog(pdf, 50), 50);
  ASSERT_TRUE(platform::iterateMainLoopUntil([&] { return std::filesystem::exists(pdf); }, 5s));
  const std::string command =
      "pdftoppm -r 72 -png -singlefile '" + pdf.string() + "' '" + (folder / "page").string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  Surface raster(cairo_image_surface_create_from_png((folder / "page.png").c_str()));
  ASSERT_EQ(cairo_surface_status(raster.get()), CAIRO_STATUS_SUCCESS);

  Box blue;
  Box red;
  findColours(raster.get(), blue, red);
  // Half the page's size, and the square where its page image puts it, to within a pixel of rounding.
  const double scale = pageWidth / 800 / 2;
  EXPECT_NEAR(blue.width(), 800 * scale, 1.5);
  EXPECT_NEAR(blue.height(), 600 * scale, 1.5);
  EXPECT_NEAR(red.left - blue.left, 150 * scale, 1.5);
  EXPECT_NEAR(red.top - blue.top, 90 * scale, 1.5);
  EXPECT_NEAR(red.width(), 100 * scale, 1.5);
  EXPECT_NEAR(red.height(), 100 * scale, 1.5);
}

TEST_F(Printing, DocumentThatCannotRenderItsPageShowsTheErrorAlert) {
  auto document = newDrawing();
  item("File", "Print")->perform();
  platform::Alert* alert = window->dialogs().currentAlert();
  ASSERT_NE(alert, nullptr);
  ASSERT_NE(alert->dialog(), nullptr);
  EXPECT_EQ(alert->dialog()->get_title(), "Error");
  alert->dialog()->response(0);
  EXPECT_TRUE(platform::iterateMainLoopUntil([&] { return window->dialogs().currentAlert() == nullptr; }, 3s));
}

}  // namespace
}  // namespace ui_testing
