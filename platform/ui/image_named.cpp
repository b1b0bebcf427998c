#include "platform/ui/image_named.h"

#include <gdk/gdk.h>

#include <map>

#include "platform/core/log.h"
#include "platform/core/resources.h"
#include "platform/graphics/image.h"

namespace platform {

Glib::RefPtr<Gdk::Pixbuf> pixbufNamed(const std::string& name) {
  static std::map<std::string, Glib::RefPtr<Gdk::Pixbuf>> cache;
  if (auto found = cache.find(name); found != cache.end()) return found->second;
  const std::filesystem::path path = pathForResource(name, "png", "images");
  Glib::RefPtr<Gdk::Pixbuf> image;
  if (!path.empty()) {
    try {
      image = Gdk::Pixbuf::create_from_file(path.string());
    } catch (const Glib::Error&) {
      image.reset();
    }
  }
  if (!image) {
    logWarning("no image named " + name);
    return image;  // not cached: a later call may find it once installed
  }
  cache.emplace(name, image);
  return image;
}

std::shared_ptr<Image> imageNamed(const std::string& name) {
  static std::map<std::string, std::shared_ptr<Image>> cache;
  if (auto found = cache.find(name); found != cache.end()) return found->second;
  const Glib::RefPtr<Gdk::Pixbuf> pixbuf = pixbufNamed(name);
  if (!pixbuf) return nullptr;
  auto image = std::make_shared<Image>(std::shared_ptr<cairo_surface_t>(
      gdk_cairo_surface_create_from_pixbuf(pixbuf->gobj(), 1, nullptr), cairo_surface_destroy));
  cache.emplace(name, image);
  return image;
}

}  // namespace platform
