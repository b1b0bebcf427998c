// The gradient definitions of a file: found by id and resolved through their links, each once.

#include <utility>
#include <vector>

#include "io/svg/CMSVGGradient.h"

using platform::DictRef;
using platform::Value;

namespace {

std::string_view idOf(const DictRef& definition) {
  const DictRef attributes = definition->dictionary("attributes");
  return attributes ? std::string_view(attributes->get("id").string()) : std::string_view();
}

// The id the definition's "xlink:href" (or "href") names; empty when it names none.
std::string_view linkOf(const DictRef& definition) {
  const DictRef attributes = definition->dictionary("attributes");
  const Value* reference = attributes ? attributes->find("xlink:href") : nullptr;
  if (!reference && attributes) reference = attributes->find("href");
  const std::string_view target = reference ? std::string_view(reference->string()) : std::string_view();
  return target.size() >= 2 && target.front() == '#' ? target.substr(1) : std::string_view();
}

bool isLinear(const DictRef& definition) { return definition->get("name").string() == "linearGradient"; }

}  // namespace

CMSVGGradients::CMSVGGradients(platform::ArrayRef definitions) : definitions_(platform::Array::make()) {
  for (const Value& entry : *definitions) {
    if (const DictRef definition = entry.dictionary()) add(definition);
  }
}

void CMSVGGradients::add(const DictRef& definition) {
  definitions_->add(definition);
  const std::string id(idOf(definition));
  if (id.empty() || !byId_.emplace(id, definition).second) return;
  // A link resolved before this definition came ended where it now goes on.
  if (missed_.erase(id) > 0) resolved_.clear();
}

DictRef CMSVGGradients::find(std::string_view id) const {
  const auto found = byId_.find(std::string(id));
  return found == byId_.end() ? nullptr : found->second;
}

CMSVGGradients::Resolved CMSVGGradients::ownOver(const DictRef& definition, const Resolved& after) {
  static constexpr const char* kShared[] = {"gradientUnits", "gradientTransform", "transform-origin"};
  static constexpr const char* kLinear[] = {"x1", "y1", "x2", "y2"};
  static constexpr const char* kRadial[] = {"cx", "cy", "r"};
  Resolved own{after.linear, after.attributes->mutableCopy(), after.stops};
  const DictRef attributes = definition->dictionary("attributes");
  const auto take = [&](const auto& keys) {
    for (const char* key : keys) {
      if (const Value* value = attributes ? attributes->find(key) : nullptr) own.attributes->set(key, *value);
    }
  };
  take(kShared);
  if (isLinear(definition) == own.linear) own.linear ? take(kLinear) : take(kRadial);
  if (const platform::ArrayRef stops = definition->array("points"); stops && !stops->empty()) own.stops = stops;
  return own;
}

const CMSVGGradients::Resolved& CMSVGGradients::resolved(const DictRef& definition) {
  const bool linear = isLinear(definition);
  // The definitions the links lead through, up to one resolved already for this kind or one met before.
  std::vector<DictRef> chain;
  std::unordered_map<const platform::Dictionary*, std::size_t> places;
  std::size_t circleStart = chain.max_size();
  Resolved after{linear, platform::Dictionary::make(), nullptr};
  for (DictRef current = definition; current;) {
    if (const auto known = resolved_.find({current.get(), linear}); known != resolved_.end()) {
      after = known->second;
      break;
    }
    if (const auto met = places.find(current.get()); met != places.end()) {
      circleStart = met->second;
      break;
    }
    places.emplace(current.get(), chain.size());
    chain.push_back(current);
    const std::string_view target = linkOf(current);
    if (target.empty()) break;
    const auto next = byId_.find(std::string(target));
    if (next == byId_.end()) missed_.emplace(target);
    current = next == byId_.end() ? nullptr : next->second;
  }
  std::size_t end = chain.size();
  if (circleStart < end) {
    // Links in a circle end before they come back: each member takes what those after it give, round to the one
    // before it. Twice round from the end, each member's own attributes laid over what follows it.
    const std::size_t members = end - circleStart;
    for (std::size_t i = 2 * members; i-- > 0;) {
      const DictRef& member = chain[circleStart + i % members];
      after = ownOver(member, after);
      if (i < members) resolved_[{member.get(), linear}] = after;
    }
    end = circleStart;
  }
  // From the end of the links back: each definition's own attributes over what it links to.
  for (std::size_t i = end; i-- > 0;) after = resolved_[{chain[i].get(), linear}] = ownOver(chain[i], after);
  return resolved_[{definition.get(), linear}];
}
