// Draws the interface's own pictures (tool icons, panel icons, cursors, small
// buttons) as PNG files into the folder given as the first argument and, given
// a second, the desktop's icons of the program and its drawings (hicolor PNGs
// from 16 to 256 pixels and SVG) into that folder:
//   g++ -std=c++20 scripts/draw_images.cpp $(pkg-config --cflags --libs cairo) -o /tmp/draw_images
//   /tmp/draw_images resources/images resources/desktop/icons
// Icons are 32 pixels square: a dark glyph on transparency, and a "clicked"
// variant with a white glyph on a blue tile. Cursors are 24 pixels square,
// black with a white outline so they read on any page.

#include <cairo-svg.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace {

using Glyph = std::function<void(cairo_t*)>;
std::string folder;

void save(cairo_surface_t* surface, const std::string& name) {
  const std::string path = folder + "/" + name + ".png";
  if (cairo_surface_write_to_png(surface, path.c_str()) != CAIRO_STATUS_SUCCESS)
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void regularPolygon(cairo_t* cr, double cx, double cy, double outer, double inner, int corners) {
  const int points = inner > 0 ? corners * 2 : corners;
  for (int i = 0; i < points; ++i) {
    const double radius = inner > 0 && i % 2 ? inner : outer;
    const double angle = -M_PI / 2 + i * 2 * M_PI / points;
    const double x = cx + radius * std::cos(angle);
    const double y = cy + radius * std::sin(angle);
    i == 0 ? cairo_move_to(cr, x, y) : cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
}

// The glyphs draw in the current source colour on a 32 × 32 square.
void arrowShape(cairo_t* cr, double x, double y, double s) {
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x, y + 17 * s);
  cairo_line_to(cr, x + 4.5 * s, y + 13 * s);
  cairo_line_to(cr, x + 7.5 * s, y + 20 * s);
  cairo_line_to(cr, x + 10 * s, y + 19 * s);
  cairo_line_to(cr, x + 7 * s, y + 12 * s);
  cairo_line_to(cr, x + 12.5 * s, y + 12 * s);
  cairo_close_path(cr);
}

void magnifier(cairo_t* cr, double cx, double cy, double r) {
  cairo_set_line_width(cr, 2.5);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 4);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, cx + r * 0.75, cy + r * 0.75);
  cairo_line_to(cr, cx + r * 1.6, cy + r * 1.6);
  cairo_stroke(cr);
}

void penNib(cairo_t* cr) {
  // Tip at (2, 2), the nib pointing up-left.
  cairo_move_to(cr, 2, 2);
  cairo_line_to(cr, 13, 6);
  cairo_line_to(cr, 16, 13);
  cairo_line_to(cr, 13, 16);
  cairo_line_to(cr, 6, 13);
  cairo_close_path(cr);
  cairo_move_to(cr, 14, 17);
  cairo_line_to(cr, 17, 14);
  cairo_line_to(cr, 21, 18);
  cairo_line_to(cr, 18, 21);
  cairo_close_path(cr);
}

void icon(const std::string& name, const Glyph& glyph) {
  for (const bool clicked : {false, true}) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 32, 32);
    cairo_t* cr = cairo_create(surface);
    if (clicked) {
      roundedRect(cr, 1, 1, 30, 30, 5);
      cairo_set_source_rgb(cr, 0.2, 0.45, 0.85);
      cairo_fill(cr);
      cairo_set_source_rgb(cr, 1, 1, 1);
    } else {
      cairo_set_source_rgb(cr, 0.25, 0.25, 0.25);
    }
    cairo_set_line_width(cr, 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    glyph(cr);
    cairo_destroy(cr);
    save(surface, clicked ? name + "clicked" : name);
    cairo_surface_destroy(surface);
  }
}

// A cursor: the glyph filled black over a white outline of it.
void cursor(const std::string& name, const Glyph& shape, const Glyph& badge = {}) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 24, 24);
  cairo_t* cr = cairo_create(surface);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  shape(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke_preserve(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_fill(cr);
  if (badge) badge(cr);
  cairo_destroy(cr);
  save(surface, name);
  cairo_surface_destroy(surface);
}

// A small sign at the cursor's lower right: white disc, black mark.
Glyph badge(const Glyph& mark) {
  return [mark](cairo_t* cr) {
    cairo_arc(cr, 18.5, 7, 5, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1.5);
    mark(cr);
  };
}

void plain(const std::string& name, int width, int height, const Glyph& draw) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  draw(cr);
  cairo_destroy(cr);
  save(surface, name);
  cairo_surface_destroy(surface);
}

void tools() {
  icon("select", [](cairo_t* cr) {
    arrowShape(cr, 10, 5, 1);
    cairo_fill(cr);
  });
  icon("texttool", [](cairo_t* cr) {
    cairo_rectangle(cr, 7, 6, 18, 4);
    cairo_rectangle(cr, 14, 6, 4, 20);
    cairo_rectangle(cr, 11, 24, 10, 2);
    cairo_fill(cr);
  });
  icon("line", [](cairo_t* cr) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.5);
    cairo_move_to(cr, 7, 25);
    cairo_line_to(cr, 25, 7);
    cairo_stroke(cr);
  });
  icon("rectangle", [](cairo_t* cr) {
    cairo_rectangle(cr, 6, 9, 20, 14);
    cairo_stroke(cr);
  });
  icon("oval", [](cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 16, 16);
    cairo_scale(cr, 10, 7.5);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_stroke(cr);
  });
  icon("roundrectangle", [](cairo_t* cr) {
    roundedRect(cr, 6, 9, 20, 14, 4);
    cairo_stroke(cr);
  });
  icon("star", [](cairo_t* cr) {
    regularPolygon(cr, 16, 17, 11, 4.5, 5);
    cairo_stroke(cr);
  });
  icon("polygon", [](cairo_t* cr) {
    regularPolygon(cr, 16, 16.5, 10.5, 0, 6);
    cairo_stroke(cr);
  });
  icon("zoomtool", [](cairo_t* cr) { magnifier(cr, 14, 14, 7); });
}

void panels() {
  icon("layerstyle", [](cairo_t* cr) {
    cairo_arc(cr, 16, 16, 9, 0, 2 * M_PI);
    cairo_stroke(cr);
    cairo_arc(cr, 16, 16, 9, M_PI / 2, 3 * M_PI / 2);
    cairo_fill(cr);
  });
  icon("layers", [](cairo_t* cr) {
    for (const double y : {8.0, 14.0, 20.0}) {
      cairo_move_to(cr, 16, y);
      cairo_line_to(cr, 26, y + 4);
      cairo_line_to(cr, 16, y + 8);
      cairo_line_to(cr, 6, y + 4);
      cairo_close_path(cr);
      cairo_stroke(cr);
    }
  });
  icon("document", [](cairo_t* cr) {
    cairo_move_to(cr, 9, 5);
    cairo_line_to(cr, 19, 5);
    cairo_line_to(cr, 24, 10);
    cairo_line_to(cr, 24, 27);
    cairo_line_to(cr, 9, 27);
    cairo_close_path(cr);
    cairo_move_to(cr, 19, 5);
    cairo_line_to(cr, 19, 10);
    cairo_line_to(cr, 24, 10);
    cairo_stroke(cr);
  });
  icon("library", [](cairo_t* cr) {
    cairo_rectangle(cr, 6, 6, 8, 8);
    cairo_arc(cr, 22, 10, 4, 0, 2 * M_PI);
    cairo_fill(cr);
    regularPolygon(cr, 10, 22, 5, 0, 3);
    cairo_fill(cr);
    regularPolygon(cr, 22, 22, 5, 2, 5);
    cairo_fill(cr);
  });
}

// The layers panel's buttons: a sheet standing for a layer, with a sign of what happens to it.
void layerButtons() {
  const auto sheet = [](cairo_t* cr, double x, double y) {
    cairo_rectangle(cr, x, y, 14, 14);
    cairo_stroke(cr);
  };
  icon("duplicatelayer", [=](cairo_t* cr) {
    sheet(cr, 6, 6);
    cairo_rectangle(cr, 12, 12, 14, 14);
    cairo_fill(cr);
  });
  icon("deletelayer", [=](cairo_t* cr) {
    sheet(cr, 9, 9);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.5);
    cairo_move_to(cr, 7, 7);
    cairo_line_to(cr, 25, 25);
    cairo_move_to(cr, 25, 7);
    cairo_line_to(cr, 7, 25);
    cairo_stroke(cr);
  });
  icon("renamelayer", [](cairo_t* cr) {
    // A text cursor beside a line of text.
    cairo_rectangle(cr, 5, 14, 14, 4);
    cairo_fill(cr);
    cairo_move_to(cr, 23, 7);
    cairo_line_to(cr, 23, 25);
    cairo_move_to(cr, 20, 7);
    cairo_line_to(cr, 26, 7);
    cairo_move_to(cr, 20, 25);
    cairo_line_to(cr, 26, 25);
    cairo_stroke(cr);
  });
  const auto arrow = [](bool up) {
    return [=](cairo_t* cr) {
      const double tip = up ? 6 : 26;
      const double base = up ? 16 : 16;
      cairo_move_to(cr, 16, tip);
      cairo_line_to(cr, 25, base);
      cairo_line_to(cr, 19, base);
      cairo_line_to(cr, 19, up ? 26 : 6);
      cairo_line_to(cr, 13, up ? 26 : 6);
      cairo_line_to(cr, 13, base);
      cairo_line_to(cr, 7, base);
      cairo_close_path(cr);
      cairo_fill(cr);
    };
  };
  icon("layerup", arrow(true));
  icon("layerdown", arrow(false));
}

void strip() {
  const auto align = [](double bar, bool vertical, bool low) {
    return [=](cairo_t* cr) {
      if (vertical) {
        cairo_rectangle(cr, bar - 1, 5, 2, 22);
        const double a = low ? bar - 1 - 14 : bar + 1;
        const double b = low ? bar - 1 - 9 : bar + 1;
        cairo_rectangle(cr, a, 8, 14, 6);
        cairo_rectangle(cr, b, 18, 9, 6);
      } else {
        cairo_rectangle(cr, 5, bar - 1, 22, 2);
        const double a = low ? bar - 1 - 14 : bar + 1;
        const double b = low ? bar - 1 - 9 : bar + 1;
        cairo_rectangle(cr, 8, a, 6, 14);
        cairo_rectangle(cr, 18, b, 6, 9);
      }
      cairo_fill(cr);
    };
  };
  icon("alignleft", align(6, true, false));
  icon("alignright", align(26, true, true));
  icon("aligntop", align(6, false, false));
  icon("alignbottom", align(26, false, true));
  const auto flip = [](bool horizontal) {
    return [=](cairo_t* cr) {
      cairo_save(cr);
      if (!horizontal) {
        cairo_translate(cr, 32, 0);
        cairo_rotate(cr, M_PI / 2);
      }
      cairo_move_to(cr, 14, 6);
      cairo_line_to(cr, 14, 26);
      cairo_line_to(cr, 5, 26);
      cairo_close_path(cr);
      cairo_fill(cr);
      cairo_move_to(cr, 18, 6);
      cairo_line_to(cr, 18, 26);
      cairo_line_to(cr, 27, 26);
      cairo_close_path(cr);
      cairo_restore(cr);
      cairo_stroke(cr);
    };
  };
  icon("fliphorizontal", flip(true));
  icon("flipvertical", flip(false));
  // Two overlapping squares; each operation fills the part it keeps.
  const auto boolean = [](int keep) {
    return [=](cairo_t* cr) {
      cairo_rectangle(cr, 5, 5, 14, 14);
      cairo_rectangle(cr, 13, 13, 14, 14);
      cairo_stroke(cr);
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
      switch (keep) {
        case 0:  // union
          cairo_rectangle(cr, 5, 5, 14, 14);
          cairo_fill(cr);
          cairo_rectangle(cr, 13, 13, 14, 14);
          break;
        case 1:  // subtract: the first without the second
          cairo_rectangle(cr, 5, 5, 14, 14);
          cairo_rectangle(cr, 13, 13, 6, 6);
          break;
        case 2:  // intersect
          cairo_rectangle(cr, 13, 13, 6, 6);
          break;
        default:  // difference: either but not both
          cairo_rectangle(cr, 5, 5, 14, 14);
          cairo_rectangle(cr, 13, 13, 14, 14);
          break;
      }
      cairo_fill(cr);
    };
  };
  icon("pathunion", boolean(0));
  icon("pathsubtract", boolean(1));
  icon("pathintersect", boolean(2));
  icon("pathdifference", boolean(3));
  // A hump of curve with its top point and that point's handles, and a minus sign: deletes the selected point.
  icon("pointdelete", [](cairo_t* cr) {
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, 3, 27);
    cairo_curve_to(cr, 6, 5, 26, 5, 29, 27);
    cairo_stroke(cr);
    // The curve's top is its midpoint (16, 10.5), where the tangent is level.
    cairo_move_to(cr, 6, 10.5);
    cairo_line_to(cr, 26, 10.5);
    cairo_stroke(cr);
    cairo_arc(cr, 6, 10.5, 2, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_arc(cr, 26, 10.5, 2, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_rectangle(cr, 13, 7.5, 6, 6);
    cairo_fill(cr);
    cairo_rectangle(cr, 11, 19, 10, 3);
    cairo_fill(cr);
  });
  icon("viewmode", [](cairo_t* cr) {
    cairo_rectangle(cr, 5, 8, 22, 16);
    cairo_stroke(cr);
    cairo_move_to(cr, 5, 24);
    cairo_line_to(cr, 27, 8);
    cairo_line_to(cr, 27, 24);
    cairo_close_path(cr);
    cairo_fill(cr);
  });
}

void cursors() {
  const Glyph plus = [](cairo_t* cr) {
    cairo_move_to(cr, 15.5, 7);
    cairo_line_to(cr, 21.5, 7);
    cairo_move_to(cr, 18.5, 4);
    cairo_line_to(cr, 18.5, 10);
    cairo_stroke(cr);
  };
  const Glyph minus = [](cairo_t* cr) {
    cairo_move_to(cr, 15.5, 7);
    cairo_line_to(cr, 21.5, 7);
    cairo_stroke(cr);
  };
  const Glyph ring = [](cairo_t* cr) {
    cairo_arc(cr, 18.5, 7, 2.5, 0, 2 * M_PI);
    cairo_stroke(cr);
  };
  cursor("pencursor", penNib);
  cursor("pencursoradd", penNib, badge(plus));
  cursor("pencursordelete", penNib, badge(minus));
  cursor("pencursorclose", penNib, badge(ring));
  // The zoom cursors' hot spot is the lens centre (9, 9).
  const Glyph lens = [](cairo_t* cr) {
    cairo_arc(cr, 9, 9, 6.5, 0, 2 * M_PI);
    cairo_arc_negative(cr, 9, 9, 4.5, 2 * M_PI, 0);
    cairo_move_to(cr, 13, 15);
    cairo_line_to(cr, 15, 13);
    cairo_line_to(cr, 21, 19);
    cairo_line_to(cr, 19, 21);
    cairo_close_path(cr);
  };
  const auto sign = [](bool plusSign) {
    return [=](cairo_t* cr) {
      cairo_set_source_rgb(cr, 0, 0, 0);
      cairo_rectangle(cr, 6.5, 8.25, 5, 1.5);
      if (plusSign) cairo_rectangle(cr, 8.25, 6.5, 1.5, 5);
      cairo_fill(cr);
    };
  };
  cursor("zoomInCursor", lens, sign(true));
  cursor("zoomOutCursor", lens, sign(false));
}

void buttons() {
  plain("doc_bg", 16, 16, [](cairo_t* cr) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.8, 0.8, 0.8);
    cairo_rectangle(cr, 0, 0, 8, 8);
    cairo_rectangle(cr, 8, 8, 8, 8);
    cairo_fill(cr);
  });
  plain("eye", 16, 16, [](cairo_t* cr) {
    cairo_set_source_rgb(cr, 0.25, 0.25, 0.25);
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, 1.5, 8);
    cairo_curve_to(cr, 5, 2.5, 11, 2.5, 14.5, 8);
    cairo_curve_to(cr, 11, 13.5, 5, 13.5, 1.5, 8);
    cairo_stroke(cr);
    cairo_arc(cr, 8, 8, 2.5, 0, 2 * M_PI);
    cairo_fill(cr);
  });
  const auto cross = [](double size, double inset, double r, double g, double b) {
    return [=](cairo_t* cr) {
      cairo_set_source_rgb(cr, r, g, b);
      cairo_set_line_width(cr, 1.5);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_move_to(cr, inset, inset);
      cairo_line_to(cr, size - inset, size - inset);
      cairo_move_to(cr, size - inset, inset);
      cairo_line_to(cr, inset, size - inset);
      cairo_stroke(cr);
    };
  };
  plain("delete", 16, 16, cross(16, 4, 0.7, 0.15, 0.15));
  plain("close_bt", 10, 10, cross(10, 2, 0.35, 0.35, 0.35));
  plain("next_items_bt", 18, 18, [](cairo_t* cr) {
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    for (const double x : {4.0, 10.0}) {
      cairo_move_to(cr, x, 5);
      cairo_line_to(cr, x + 5, 9);
      cairo_line_to(cr, x, 13);
      cairo_close_path(cr);
    }
    cairo_fill(cr);
  });
  plain("combo_arrow_icon", 13, 13, [](cairo_t* cr) {
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    cairo_move_to(cr, 3, 5);
    cairo_line_to(cr, 10, 5);
    cairo_line_to(cr, 6.5, 9);
    cairo_close_path(cr);
    cairo_fill(cr);
  });
  plain("color_well_bt", 13, 13, [](cairo_t* cr) {
    for (int i = 0; i < 3; ++i) {
      cairo_set_source_rgb(cr, i == 0, i == 1, i == 2);
      cairo_arc(cr, 6.5, 6.5, 5.5, i * 2 * M_PI / 3, (i + 1) * 2 * M_PI / 3);
      cairo_line_to(cr, 6.5, 6.5);
      cairo_fill(cr);
    }
  });
  // Gradient stop markers: a handle above the bar pointing down, a tab below it pointing up with a colour well.
  plain("top_marker", 9, 9, [](cairo_t* cr) {
    cairo_move_to(cr, 0.5, 0.5);
    cairo_line_to(cr, 8.5, 0.5);
    cairo_line_to(cr, 4.5, 8.5);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  });
  plain("bottom_marker", 11, 12, [](cairo_t* cr) {
    cairo_move_to(cr, 5.5, 0.5);
    cairo_line_to(cr, 10.5, 4.5);
    cairo_line_to(cr, 10.5, 11.5);
    cairo_line_to(cr, 0.5, 11.5);
    cairo_line_to(cr, 0.5, 4.5);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  });
}

}  // namespace

// The program's icon on a 256-unit square: a dark rounded tile with a white shirt outline and a blue pen stroke.
void applicationIcon(cairo_t* cr) {
  roundedRect(cr, 16, 16, 224, 224, 40);
  cairo_set_source_rgb(cr, 0.2, 0.22, 0.26);
  cairo_fill(cr);
  cairo_move_to(cr, 96, 64);
  cairo_line_to(cr, 56, 88);
  cairo_line_to(cr, 40, 136);
  cairo_line_to(cr, 72, 144);
  cairo_line_to(cr, 80, 120);
  cairo_line_to(cr, 80, 200);
  cairo_line_to(cr, 176, 200);
  cairo_line_to(cr, 176, 120);
  cairo_line_to(cr, 184, 144);
  cairo_line_to(cr, 216, 136);
  cairo_line_to(cr, 200, 88);
  cairo_line_to(cr, 160, 64);
  cairo_curve_to(cr, 150, 84, 106, 84, 96, 64);
  cairo_close_path(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_set_line_width(cr, 10);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  cairo_move_to(cr, 128, 96);
  cairo_line_to(cr, 128, 184);
  cairo_set_source_rgb(cr, 0.2, 0.55, 0.95);
  cairo_set_line_width(cr, 12);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
}

// A drawing's icon: a white page with a folded corner and the shirt outline in small.
void documentIcon(cairo_t* cr) {
  cairo_move_to(cr, 48, 16);
  cairo_line_to(cr, 168, 16);
  cairo_line_to(cr, 216, 64);
  cairo_line_to(cr, 216, 240);
  cairo_line_to(cr, 48, 240);
  cairo_close_path(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0.35, 0.37, 0.4);
  cairo_set_line_width(cr, 8);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  cairo_move_to(cr, 168, 16);
  cairo_line_to(cr, 168, 64);
  cairo_line_to(cr, 216, 64);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_translate(cr, 72, 96);
  cairo_scale(cr, 0.47, 0.47);
  applicationIcon(cr);
  cairo_restore(cr);
}

void desktopIcons(const std::string& iconFolder) {
  const struct {
    const char* context;
    const char* name;
    void (*draw)(cairo_t*);
  } icons[] = {{"apps", "org.draftwork.Draftwork", applicationIcon},
               {"mimetypes", "application-x-draftwork", documentIcon}};
  for (const auto& icon : icons) {
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
      const std::string dir = iconFolder + "/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/" +
                              icon.context;
      std::filesystem::create_directories(dir);
      cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
      cairo_t* cr = cairo_create(surface);
      cairo_scale(cr, size / 256.0, size / 256.0);
      icon.draw(cr);
      cairo_destroy(cr);
      const std::string path = dir + "/" + icon.name + ".png";
      if (cairo_surface_write_to_png(surface, path.c_str()) != CAIRO_STATUS_SUCCESS)
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
      cairo_surface_destroy(surface);
    }
    const std::string dir = iconFolder + "/hicolor/scalable/" + icon.context;
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/" + icon.name + ".svg";
    cairo_surface_t* svg = cairo_svg_surface_create(path.c_str(), 256, 256);
    cairo_svg_surface_set_document_unit(svg, CAIRO_SVG_UNIT_PX);
    cairo_t* cr = cairo_create(svg);
    icon.draw(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(svg);
  }
}

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [ICON_FOLDER]\n", argv[0]);
    return 2;
  }
  folder = argv[1];
  tools();
  panels();
  layerButtons();
  strip();
  cursors();
  buttons();
  if (argc == 3) desktopIcons(argv[2]);
  return 0;
}
