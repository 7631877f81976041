// The one pass over a scene file's text (scene_stream.hpp): nlohmann-json's
// SAX events, a stack of the open arrays and objects (for the nesting limit,
// repeated keys and the path in messages), a JSON value built for everything
// but the streamed arrays, and those arrays read straight into their object.
#include "host/src/scene/scene_stream.hpp"

#include <cmath>
#include <set>

#include "host/src/scene/scene_format.hpp"

namespace mqhost::scene {

using nlohmann::json;

void Throw(const std::string& path, const std::string& reason) { throw SceneError{path + ": " + reason}; }

std::string Member(const std::string& path, const char* key) {
  return path.empty() ? std::string(key) : path + "." + key;
}

const char* KindOf(const json& value) {
  if (value.is_null()) return "null";
  if (value.is_boolean()) return "a truth value";
  if (value.is_number()) return "a number";
  if (value.is_string()) return "a string";
  if (value.is_array()) return "an array";
  return "an object";
}

const char* KeyOf(Streamed field) {
  static const char* const kKeys[kStreamedCount] = {"vertices", "faces", "selectedVertices", "selectedFaces",
                                                    "selectedLines"};
  return kKeys[static_cast<size_t>(field)];
}

Scalar Scalar::Of(const json& value) {
  if (value.is_number_unsigned()) return Unsigned(value.get<uint64_t>());
  if (value.is_number_integer()) return Signed(value.get<int64_t>());
  if (value.is_number_float()) return Fraction(value.get<double>());
  return Other(KindOf(value));
}

std::string CoordinateProblem(const Scalar& value, float* number) {
  if (value.type == Scalar::kOther) return std::string("must be a number, not ") + value.kind;
  const double wide = value.type == Scalar::kSigned     ? static_cast<double>(value.whole)
                      : value.type == Scalar::kUnsigned ? static_cast<double>(value.natural)
                                                        : value.fraction;
  // Every number that rounds to a finite float is one: up to FLT_MAX and half
  // its spacing (a tie there rounds to even, which is infinity).
  constexpr double kFirstOutOfRange = 0x1.ffffffp127;
  if (!(std::fabs(wide) < kFirstOutOfRange)) return "number is outside the range of a float";
  *number = static_cast<float>(wide);
  return {};
}

std::string IndexProblem(const Scalar& value, int32_t* number) {
  switch (value.type) {
    case Scalar::kOther: return std::string("must be a whole number, not ") + value.kind;
    case Scalar::kFraction: return "must be a whole number, not a fraction";
    case Scalar::kUnsigned:
      if (value.natural > static_cast<uint64_t>(INT32_MAX)) return "number is outside the 32-bit range";
      *number = static_cast<int32_t>(value.natural);
      return {};
    case Scalar::kSigned: break;
  }
  if (value.whole < INT32_MIN || value.whole > INT32_MAX) return "number is outside the 32-bit range";
  *number = static_cast<int32_t>(value.whole);
  return {};
}

namespace {

// A scene nests five deep (objects, an object, its faces, a face); this is
// far beyond it.
constexpr size_t kMaxDepth = 64;

// Where a streamed array opens: the top-level object, its "objects" array,
// one object of it, then the field's own array.
constexpr size_t kFieldDepth = 4;

class Reader {
 public:
  Reader(json* root, std::vector<StreamedObject>* objects) : root_(root), objects_(objects) {
    open_.reserve(kMaxDepth);
  }

  bool null() { return Value(Scalar::Other("null"), nullptr); }
  bool boolean(bool value) { return Value(Scalar::Other("a truth value"), value); }
  bool number_integer(json::number_integer_t value) { return Value(Scalar::Signed(value), value); }
  bool number_unsigned(json::number_unsigned_t value) { return Value(Scalar::Unsigned(value), value); }
  bool number_float(json::number_float_t value, const std::string& /*text*/) {
    return Value(Scalar::Fraction(value), value);
  }
  bool string(std::string& value) { return Value(Scalar::Other("a string"), std::move(value)); }
  bool binary(json::binary_t& /*value*/) { return true; }  // not in JSON text

  bool start_object(size_t /*elements*/) { return Start(true); }
  bool start_array(size_t /*elements*/) { return Start(false); }
  bool end_object() { return End(); }
  bool end_array() { return End(); }

  bool key(std::string& name) {
    Open& object = open_.back();
    object.key = name;
    if (!object.keys.insert(name).second) Throw(Path(open_.size()), "this key is given twice");
    return true;
  }

  bool parse_error(size_t /*position*/, const std::string& /*token*/, const json::exception& error) {
    // A number too large for a double is no syntax error: the parser reports
    // it as out of range.
    const bool syntax = dynamic_cast<const json::parse_error*>(&error) != nullptr;
    throw SceneError{std::string(syntax ? "not valid JSON: " : "scene could not be read: ") + error.what()};
  }

 private:
  struct Open {
    bool isObject = false;
    size_t index = 0;            // of an array: the element being read
    std::string key;             // of an object: the member being read
    std::set<std::string> keys;  // of an object: the members read so far
    json* value = nullptr;       // what is built, or null inside a streamed array
  };

  // The path of the element or member being read in the outermost `depth`
  // open containers: built only for messages.
  std::string Path(size_t depth) const {
    std::string path;
    for (size_t i = 0; i < depth; ++i) {
      const Open& container = open_[i];
      path = container.isObject ? Member(path, container.key.c_str()) : Item(path, container.index);
    }
    return path;
  }

  template <typename T>
  bool Value(const Scalar& scalar, T&& value) {
    if (field_ != nullptr) {
      Stream(scalar, false);
    } else {
      Place(json(std::forward<T>(value)));
    }
    ElementDone();
    return true;
  }

  bool Start(bool isObject) {
    // Refused as soon as it goes too deep, before anything is built for the
    // brackets (gigabytes for the largest file read).
    if (open_.size() >= kMaxDepth) {
      Throw(Path(open_.size()), "nested deeper than " + std::to_string(kMaxDepth) +
                                    " arrays and objects, far more than a scene has");
    }
    json* value = nullptr;
    if (field_ != nullptr) {
      Stream(Scalar::Other(isObject ? "an object" : "an array"), !isObject);
    } else if (!isObject && BeginsStreamedField()) {
      Place(json());  // the field's place in its object, for the checks of its key
    } else {
      value = Place(isObject ? json::object() : json::array());
    }
    Open& opened = open_.emplace_back();
    opened.isObject = isObject;
    opened.value = value;
    return true;
  }

  bool End() {
    if (field_ != nullptr) {
      if (open_.size() == kFieldDepth + 1 && !open_.back().isObject) EndElement();
      if (open_.size() == kFieldDepth) field_ = nullptr;
    }
    open_.pop_back();
    ElementDone();
    return true;
  }

  void ElementDone() {
    if (!open_.empty() && !open_.back().isObject) ++open_.back().index;
  }

  json* Place(json&& value) {
    if (open_.empty()) {
      *root_ = std::move(value);
      return root_;
    }
    Open& parent = open_.back();
    if (parent.isObject) return &((*parent.value)[parent.key] = std::move(value));
    parent.value->push_back(std::move(value));
    return &parent.value->back();
  }

  // An array opening as the value of one of the big fields of an object of
  // the top-level "objects" array starts streaming it.
  bool BeginsStreamedField() {
    if (open_.size() != kFieldDepth - 1 || !open_[0].isObject || open_[0].key != "objects" ||
        open_[1].isObject || !open_[2].isObject) {
      return false;
    }
    for (size_t f = 0; f < kStreamedCount; ++f) {
      if (open_[2].key != KeyOf(static_cast<Streamed>(f))) continue;
      const size_t slot = open_[1].index;
      if (objects_->size() <= slot) objects_->resize(slot + 1);
      object_ = &(*objects_)[slot];
      kind_ = static_cast<Streamed>(f);
      field_ = &object_->error[f];
      object_->read[f] = true;
      return true;
    }
    return false;
  }

  // A value inside the streamed field, or the start of an array or object
  // there (`array`: it is an array).
  void Stream(const Scalar& value, bool array) {
    if (!field_->empty()) return;  // the field already failed: the rest is only checked as JSON
    const size_t level = open_.size() - kFieldDepth;
    if (kind_ == Streamed::kSelectedVertices || kind_ == Streamed::kSelectedFaces) {
      if (level != 0) return;
      int32_t index = 0;
      const std::string problem = IndexProblem(value, &index);
      if (!problem.empty()) return Fail(Path(open_.size()) + ": " + problem);
      (kind_ == Streamed::kSelectedVertices ? object_->selectedVertices : object_->selectedFaces)
          .push_back(index);
      return;
    }
    if (level == 0) {
      if (!array) return Fail(Path(open_.size()) + ": must be an array, not " + value.kind);
      items_ = 0;
      itemProblem_.clear();
      return;
    }
    if (level != 1 || open_.back().isObject) return;
    const size_t item = items_++;
    if (!itemProblem_.empty()) return;
    std::string problem;
    if (kind_ == Streamed::kVertices) {
      float coordinate = 0;
      problem = CoordinateProblem(value, &coordinate);
      if (item < 3) point_[item] = coordinate;
    } else {
      int32_t index = 0;
      problem = IndexProblem(value, &index);
      if (kind_ == Streamed::kFaces) {
        object_->content.facePoints.push_back(index);
      } else if (item < 2) {
        pair_[item] = index;
      }
    }
    if (!problem.empty()) itemProblem_ = Path(open_.size()) + ": " + problem;
  }

  // The end of one vertex, face or line of the streamed field.
  void EndElement() {
    if (!field_->empty()) return;
    switch (kind_) {
      case Streamed::kVertices:
        if (items_ != 3)
          return Fail(Path(kFieldDepth) + ": must hold 3 numbers, not " + std::to_string(items_));
        if (!itemProblem_.empty()) return Fail(itemProblem_);
        object_->content.vertices.push_back({point_[0], point_[1], point_[2]});
        return;
      case Streamed::kFaces:
        if (!itemProblem_.empty()) return Fail(itemProblem_);
        object_->content.faceStart.push_back(object_->content.facePoints.size());
        return;
      default:
        if (!itemProblem_.empty()) return Fail(itemProblem_);
        if (items_ != 2) return Fail(Path(kFieldDepth) + ": must be a [face, edge] pair");
        object_->selectedLines.emplace_back(pair_[0], pair_[1]);
        return;
    }
  }

  void Fail(std::string message) { *field_ = std::move(message); }

  json* root_;
  std::vector<StreamedObject>* objects_;
  std::vector<Open> open_;
  // The streamed field being read, or null: its object, which field, and
  // where its first error goes.
  StreamedObject* object_ = nullptr;
  Streamed kind_ = Streamed::kVertices;
  std::string* field_ = nullptr;
  // The element being read (a vertex, a face, a line): its items so far, the
  // first item's problem, and the numbers kept.
  size_t items_ = 0;
  std::string itemProblem_;
  float point_[3] = {};
  int32_t pair_[2] = {};
};

}  // namespace

void ReadStream(const std::string& text, json* root, std::vector<StreamedObject>* objects) {
  Reader reader(root, objects);
  json::sax_parse(text, &reader);
}

}  // namespace mqhost::scene
