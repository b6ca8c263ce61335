#include "shell/FrameEncoder.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace kinetra {

namespace {

using nlohmann::json;

double rounded(double value, double scale) {
  if (!std::isfinite(value)) return 0;
  return std::round(value * scale) / scale;
}
double points(double value) { return rounded(value, 1000); }

json rectJson(const Rect& r) {
  return json::array({points(r.x), points(r.y), points(r.width), points(r.height)});
}

json sizeJson(const Size& s) { return json::array({points(s.width), points(s.height)}); }

json colorJson(const Color& c) {
  return json::array({rounded(c.red, 10000), rounded(c.green, 10000), rounded(c.blue, 10000),
                      rounded(c.alpha, 10000)});
}

json transformJson(const AffineTransform& t) {
  return json::array({rounded(t.a, 1e6), rounded(t.b, 1e6), rounded(t.c, 1e6), rounded(t.d, 1e6),
                      points(t.tx), points(t.ty)});
}

std::string_view fontStyleName(Font::Style style) {
  switch (style) {
    case Font::Style::kBold:
      return "bold";
    case Font::Style::kItalic:
      return "italic";
    case Font::Style::kRegular:
      break;
  }
  return "regular";
}

std::string_view animationKindName(AnimationRecord::Kind kind) {
  switch (kind) {
    case AnimationRecord::Kind::kTransition:
      return "transition";
    case AnimationRecord::Kind::kAlpha:
      return "alpha";
    case AnimationRecord::Kind::kFrame:
      return "frame";
    case AnimationRecord::Kind::kTransform:
      return "transform";
    case AnimationRecord::Kind::kPush:
      return "push";
    case AnimationRecord::Kind::kPop:
      return "pop";
    case AnimationRecord::Kind::kNavigationBar:
      return "navigationBar";
    case AnimationRecord::Kind::kStatusBar:
      return "statusBar";
    case AnimationRecord::Kind::kDeleteRows:
      return "deleteRows";
    case AnimationRecord::Kind::kContentOffset:
      return "contentOffset";
  }
  return "unknown";
}

std::string_view transitionName(AnimationTransition transition) {
  switch (transition) {
    case AnimationTransition::kFlipFromLeft:
      return "flipFromLeft";
    case AnimationTransition::kFlipFromRight:
      return "flipFromRight";
    case AnimationTransition::kCurlUp:
      return "curlUp";
    case AnimationTransition::kCurlDown:
      return "curlDown";
    case AnimationTransition::kNone:
      break;
  }
  return "none";
}

json indexPathJson(const IndexPath& indexPath) {
  return json::array({indexPath.section, indexPath.row});
}

// Keeps the picture in the store for this frame and gives the client's reference to it.
json pictureJson(PictureStore& pictures, const PictureDescription& p) {
  pictures.add(p);
  return json{{"id", PictureStore::identifierText(p.identifier)},
              {"w", points(p.size.width)},
              {"h", points(p.size.height)}};
}

// Where the view sits: its bounds origin (a scroll view's offset) and its transform.
void putPlacement(json& out, const ViewDescription& d) {
  if (d.boundsOrigin.x != 0 || d.boundsOrigin.y != 0) {
    out["origin"] = json::array({points(d.boundsOrigin.x), points(d.boundsOrigin.y)});
  }
  if (!d.transform.isIdentity()) out["transform"] = transformJson(d.transform);
}

// How the view looks and takes touches: alpha, background, touch handling and clipping.
void putAppearance(json& out, const ViewDescription& d) {
  if (d.alpha != 1) out["alpha"] = rounded(d.alpha, 10000);
  if (d.backgroundColor.pattern == Color::Pattern::kGroupTableViewBackground) {
    out["pattern"] = "groupTableViewBackground";
  } else if (d.backgroundColor.alpha > 0) {
    out["bg"] = colorJson(d.backgroundColor);
  }
  if (!d.userInteractionEnabled) out["noTouch"] = true;
  if (d.clipsToBounds) out["clips"] = true;
}

// A text's string, font, colour, alignment and line count.
void putText(json& out, const ViewDescription& d) {
  if (!d.text) return;
  out["text"] = *d.text;
  if (d.font) out["font"] = json::array({points(d.font->pointSize), fontStyleName(d.font->style)});
  out["color"] = colorJson(d.textColor);
  if (!d.textAlignment.empty() && d.textAlignment != "left") out["align"] = d.textAlignment;
  if (d.numberOfLines != 1) out["lines"] = d.numberOfLines;
}

// A text field's or text view's editing state and keyboard.
void putEditing(json& out, const ViewDescription& d) {
  if (!d.placeholder.empty()) out["placeholder"] = d.placeholder;
  if (!d.keyboardType.empty() && d.keyboardType != "default") out["keyboard"] = d.keyboardType;
  if (!d.returnKeyType.empty() && d.returnKeyType != "default") out["returnKey"] = d.returnKeyType;
  if (d.editable) out["editable"] = true;
  if (d.firstResponder) out["focused"] = true;
}

// A custom-drawn view's rendering (never its own picture), or else the view's own picture.
void putPicture(json& out, const ViewDescription& d, PictureStore& pictures,
                const FrameEncoder::Render& render) {
  if (d.drawsContent) {
    out["draws"] = true;
    if (std::optional<PictureDescription> rendered = render ? render(d) : std::nullopt) {
      out["picture"] = pictureJson(pictures, *rendered);
    }
  } else if (d.picture) {
    out["picture"] = pictureJson(pictures, *d.picture);
  }
}

// A control's state, its segments (with their pictures), style and date.
void putControl(json& out, const ViewDescription& d, PictureStore& pictures) {
  if (!d.enabled) out["disabled"] = true;
  if (d.selected) out["selected"] = true;
  if (d.highlighted) out["highlighted"] = true;
  if (!d.buttonType.empty()) out["buttonType"] = d.buttonType;
  if (!d.segments.empty()) {
    json segments = json::array();
    for (const SegmentDescription& segment : d.segments) {
      json s = {{"title", segment.title}, {"frame", rectJson(segment.frame)}};
      if (segment.picture) s["picture"] = pictureJson(pictures, *segment.picture);
      if (!segment.enabled) s["disabled"] = true;
      segments.push_back(std::move(s));
    }
    out["segments"] = std::move(segments);
    out["selectedSegment"] = d.selectedSegment;
    if (d.momentary) out["momentary"] = true;
  }
  if (!d.controlStyle.empty()) out["style"] = d.controlStyle;
  if (d.date) out["date"] = rounded(*d.date, 1000);
  if (!d.acceptedTypes.empty()) out["accept"] = d.acceptedTypes;
  if (d.maxBytes != 0) out["maxBytes"] = d.maxBytes;
}

// A scroll view's or table's content size, scrolling and section headers.
void putScrolling(json& out, const ViewDescription& d) {
  if (d.contentSize.width != 0 || d.contentSize.height != 0) {
    out["contentSize"] = sizeJson(d.contentSize);
  }
  if (d.pagingEnabled) out["paging"] = true;
  if (!d.scrollEnabled) out["scrollDisabled"] = true;
  if (!d.tableStyle.empty()) out["tableStyle"] = d.tableStyle;
  if (d.editing) out["editing"] = true;
  if (!d.sectionIndexTitles.empty()) out["indexTitles"] = d.sectionIndexTitles;
  if (!d.sectionHeaders.empty()) {
    json headers = json::array();
    for (const SectionHeaderDescription& header : d.sectionHeaders) {
      headers.push_back({{"section", header.section},
                         {"title", header.title},
                         {"frame", rectJson(header.frame)}});
    }
    out["headers"] = std::move(headers);
  }
}

// A table cell's index path, accessory and editing options.
void putCell(json& out, const ViewDescription& d) {
  if (d.indexPath) out["indexPath"] = indexPathJson(*d.indexPath);
  if (!d.accessoryType.empty() && d.accessoryType != "none") out["accessory"] = d.accessoryType;
  if (d.indexPath && !d.selectionStyle.empty()) out["selectionStyle"] = d.selectionStyle;
  if (d.deletable) out["deletable"] = true;
  if (d.movable) out["movable"] = true;
}

// A bar's title and its tabs, each with its picture.
void putBar(json& out, const ViewDescription& d, PictureStore& pictures) {
  if (!d.title.empty()) out["title"] = d.title;
  if (!d.tabs.empty()) {
    json tabs = json::array();
    for (const TabDescription& tab : d.tabs) {
      json t = {{"title", tab.title}, {"frame", rectJson(tab.frame)}};
      if (tab.picture) t["picture"] = pictureJson(pictures, *tab.picture);
      if (tab.selectedPicture) t["selectedPicture"] = pictureJson(pictures, *tab.selectedPicture);
      tabs.push_back(std::move(t));
    }
    out["tabs"] = std::move(tabs);
    out["selectedTab"] = d.selectedTab;
  }
}

// The view and, back to front, its subviews; their pictures go into the store as they are met.
json viewJson(const ViewDescription& d, PictureStore& pictures,
              const FrameEncoder::Render& render) {
  json out = {{"id", d.identifier}, {"kind", d.kind}, {"frame", rectJson(d.frame)}};
  putPlacement(out, d);
  putAppearance(out, d);
  putText(out, d);
  putEditing(out, d);
  putPicture(out, d, pictures, render);
  putControl(out, d, pictures);
  putScrolling(out, d);
  putCell(out, d);
  putBar(out, d, pictures);
  if (!d.subviews.empty()) {
    json subviews = json::array();
    for (const ViewDescription& subview : d.subviews) {
      subviews.push_back(viewJson(subview, pictures, render));
    }
    out["subviews"] = std::move(subviews);
  }
  return out;
}

// What the kind of animation changes: transition, from and to values, visibility or rows.
void putAnimationChange(json& out, const AnimationRecord& record) {
  switch (record.kind) {
    case AnimationRecord::Kind::kTransition:
      out["transition"] = transitionName(record.transition);
      break;
    case AnimationRecord::Kind::kAlpha:
      out["fromAlpha"] = rounded(record.fromAlpha, 10000);
      out["toAlpha"] = rounded(record.toAlpha, 10000);
      break;
    case AnimationRecord::Kind::kFrame:
      out["fromFrame"] = rectJson(record.fromFrame);
      out["toFrame"] = rectJson(record.toFrame);
      break;
    case AnimationRecord::Kind::kTransform:
      out["fromTransform"] = transformJson(record.fromTransform);
      out["toTransform"] = transformJson(record.toTransform);
      break;
    case AnimationRecord::Kind::kNavigationBar:
    case AnimationRecord::Kind::kStatusBar:
      out["hidden"] = record.hidden;
      break;
    case AnimationRecord::Kind::kDeleteRows: {
      out["rowAnimation"] = record.rowAnimation;
      json rows = json::array();
      for (const IndexPath& row : record.rows) rows.push_back(indexPathJson(row));
      out["rows"] = std::move(rows);
      break;
    }
    case AnimationRecord::Kind::kPush:
    case AnimationRecord::Kind::kPop:
    case AnimationRecord::Kind::kContentOffset:
      break;
  }
}

// One animation: the fields every kind has, then its change.
json animationJson(const AnimationRecord& record) {
  json out = {{"seq", record.sequence},
              {"kind", animationKindName(record.kind)},
              {"view", record.view},
              {"duration", rounded(record.duration, 1000)},
              {"delay", rounded(record.delay, 1000)}};
  if (!record.transactionId.empty()) out["transaction"] = record.transactionId;
  putAnimationChange(out, record);
  return out;
}

// The animations in the order they were requested.
json animationsJson(const std::vector<AnimationRecord>& records) {
  json animations = json::array();
  for (const AnimationRecord& record : records) animations.push_back(animationJson(record));
  return animations;
}

}  // namespace

std::string FrameEncoder::encode(const ScreenDescription& screen) {
  pictures_.beginFrame();
  json animations = animationsJson(screen.animations);
  json root = viewJson(screen.window, pictures_, render_);
  json frame = {{"type", "frame"},
                {"size", sizeJson(screen.size)},
                {"statusBarHidden", screen.statusBarHidden},
                {"root", std::move(root)},
                {"animations", std::move(animations)}};
  // Pictures of earlier frames give way only once this frame's are all in the store.
  pictures_.trim();
  // Texts come from the system and the user; a stray invalid UTF-8 byte is replaced rather
  // than failing the whole frame.
  return frame.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace kinetra
