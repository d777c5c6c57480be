// Reads an SVG drawing back as an outline of its elements, for tests that
// check a drawing's structure rather than its pixels. Checks that the text is
// well-formed XML as it goes: tags nest and close, attributes are quoted,
// every '&' starts a known entity, ids are unique.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tracciato::test_support {

class SvgOutline {
 public:
  struct Element {
    std::string tag;
    std::map<std::string, std::string> attributes;
    std::string text;  // the text directly inside, entities decoded
  };

  explicit SvgOutline(std::string_view svg) : svg_(svg) { parse(); }

  bool well_formed() const { return problem_.empty(); }
  const std::string& problem() const { return problem_; }

  std::vector<std::string> ids_of_class(std::string_view cls) const {
    std::vector<std::string> ids;
    for (const Element* e : of_class(cls)) ids.push_back(attribute(*e, "id"));
    return ids;
  }
  std::vector<std::string> texts_of_class(std::string_view cls) const {
    std::vector<std::string> texts;
    for (const Element* e : of_class(cls)) texts.push_back(e->text);
    return texts;
  }
  size_t count_of_class(std::string_view cls) const { return of_class(cls).size(); }
  size_t count_of_tag(std::string_view tag) const {
    size_t n = 0;
    for (const Element& e : elements_) n += e.tag == tag ? 1 : 0;
    return n;
  }
  bool has_id(const std::string& id) const { return ids_.count(id) != 0; }
  bool any_attribute_named(const std::string& name) const {
    for (const Element& e : elements_) {
      if (e.attributes.count(name)) return true;
    }
    return false;
  }

 private:
  static std::string attribute(const Element& e, const std::string& name) {
    const auto it = e.attributes.find(name);
    return it == e.attributes.end() ? "" : it->second;
  }

  std::vector<const Element*> of_class(std::string_view cls) const {
    std::vector<const Element*> found;
    for (const Element& e : elements_) {
      const std::string classes = " " + attribute(e, "class") + " ";
      if (classes.find(" " + std::string(cls) + " ") != std::string::npos) found.push_back(&e);
    }
    return found;
  }

  void fail(const std::string& why) {
    if (problem_.empty()) problem_ = why + " at byte " + std::to_string(pos_);
  }

  std::string decode(std::string_view raw) {
    std::string out;
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] == '<') fail("'<' in text");
      if (raw[i] != '&') {
        out += raw[i];
        continue;
      }
      const size_t end = raw.find(';', i);
      const std::string_view entity =
          raw.substr(i, end == std::string_view::npos ? 1 : end - i + 1);
      static const std::map<std::string_view, char> known = {
          {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
      const auto it = known.find(entity);
      if (it == known.end()) {
        fail("unknown entity");
        return out;
      }
      out += it->second;
      i += entity.size() - 1;
    }
    return out;
  }

  void parse() {
    if (svg_.substr(0, 5) == "<?xml") pos_ = svg_.find("?>") + 2;
    std::vector<size_t> open;  // indices of open elements
    bool had_root = false;
    while (pos_ < svg_.size() && problem_.empty()) {
      const size_t lt = svg_.find('<', pos_);
      const std::string text = decode(
          svg_.substr(pos_, lt == std::string_view::npos ? std::string_view::npos : lt - pos_));
      if (!open.empty()) elements_[open.back()].text += text;
      if (lt == std::string_view::npos) break;
      pos_ = lt;
      const size_t gt = svg_.find('>', pos_);
      if (gt == std::string_view::npos) return fail("unclosed tag");
      std::string_view tag = svg_.substr(pos_ + 1, gt - pos_ - 1);
      pos_ = gt + 1;
      if (tag.starts_with('/')) {
        if (open.empty() || elements_[open.back()].tag != tag.substr(1))
          return fail("mismatched end tag");
        open.pop_back();
        continue;
      }
      const bool empty = tag.ends_with('/');
      if (empty) tag.remove_suffix(1);
      if (open.empty() && had_root) return fail("second root element");
      had_root = true;
      elements_.push_back(read_element(tag));
      if (!empty) open.push_back(elements_.size() - 1);
    }
    if (!open.empty()) fail("unclosed element " + elements_[open.back()].tag);
  }

  Element read_element(std::string_view tag) {
    Element e;
    size_t i = tag.find_first_of(" \n\t");
    e.tag = std::string(tag.substr(0, i));
    while (i != std::string_view::npos && i < tag.size()) {
      i = tag.find_first_not_of(" \n\t", i);
      if (i == std::string_view::npos) break;
      const size_t eq = tag.find('=', i);
      if (eq == std::string_view::npos || eq + 1 >= tag.size() || tag[eq + 1] != '"') {
        fail("attribute without a quoted value");
        return e;
      }
      const size_t close = tag.find('"', eq + 2);
      if (close == std::string_view::npos) {
        fail("unterminated attribute");
        return e;
      }
      const std::string name(tag.substr(i, eq - i));
      if (!e.attributes.emplace(name, decode(tag.substr(eq + 2, close - eq - 2))).second)
        fail("repeated attribute");
      i = close + 1;
    }
    if (const auto id = e.attributes.find("id");
        id != e.attributes.end() && !ids_.insert(id->second).second) {
      fail("duplicate id " + id->second);
    }
    return e;
  }

  std::string_view svg_;
  size_t pos_ = 0;
  std::string problem_;
  std::vector<Element> elements_;
  std::set<std::string> ids_;
};

}  // namespace tracciato::test_support
