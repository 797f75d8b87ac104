// PLY, ASCII and binary of both byte orders: `vertex` x, y, z (and red, green, blue), `face`
// vertex_indices lists (and red, green, blue); other elements and properties are skipped.
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <string>

#include "io/imported_mesh.h"
#include "io/text_scan.h"

namespace {

enum class Type : uint8_t { None, I8, U8, I16, U16, I32, U32, F32, F64 };

Type typeNamed(std::string_view n) {
  struct Name {
    std::string_view name;
    Type type;
  };
  static constexpr Name kNames[] = {
      {"char", Type::I8},   {"int8", Type::I8},     {"uchar", Type::U8},   {"uint8", Type::U8},
      {"short", Type::I16}, {"int16", Type::I16},   {"ushort", Type::U16}, {"uint16", Type::U16},
      {"int", Type::I32},   {"int32", Type::I32},   {"uint", Type::U32},   {"uint32", Type::U32},
      {"float", Type::F32}, {"float32", Type::F32}, {"double", Type::F64}, {"float64", Type::F64}};
  for (const Name& k : kNames)
    if (k.name == n) return k.type;
  return Type::None;
}

size_t typeBytes(Type t) {
  switch (t) {
    case Type::I8:
    case Type::U8:
      return 1;
    case Type::I16:
    case Type::U16:
      return 2;
    case Type::I32:
    case Type::U32:
    case Type::F32:
      return 4;
    case Type::F64:
      return 8;
    default:
      return 0;
  }
}

bool isFloatType(Type t) {
  return t == Type::F32 || t == Type::F64;
}

// What a property feeds.
enum class Role : uint8_t { Skip, X, Y, Z, Red, Green, Blue, Indices };

struct Property {
  Type type = Type::None;
  Type countType = Type::None;  // list properties only
  Role role = Role::Skip;
};

struct Element {
  std::string name;
  int64_t count = 0;
  std::vector<Property> props;
};

enum class Format { Ascii, Little, Big };

struct Header {
  Format format = Format::Ascii;
  std::vector<Element> elements;
  size_t dataStart = 0;
};

Role roleOf(const std::string& element, std::string_view prop, bool list) {
  if (element == "vertex" && !list) {
    if (prop == "x") return Role::X;
    if (prop == "y") return Role::Y;
    if (prop == "z") return Role::Z;
  }
  if ((element == "vertex" || element == "face") && !list) {
    if (prop == "red") return Role::Red;
    if (prop == "green") return Role::Green;
    if (prop == "blue") return Role::Blue;
  }
  if (element == "face" && list && (prop == "vertex_indices" || prop == "vertex_index"))
    return Role::Indices;
  return Role::Skip;
}

bool parseHeader(std::string_view bytes, Header& h) {
  TextLines lines(bytes);
  if (lines.done() || lines.next() != "ply") return false;
  bool formatSeen = false;
  while (!lines.done()) {
    TextLine line(lines.next());
    const std::string_view key = line.next();
    if (key == "end_header") {
      h.dataStart = lines.position();
      return formatSeen;
    }
    if (key == "format") {
      const std::string_view f = line.next();
      if (f == "ascii")
        h.format = Format::Ascii;
      else if (f == "binary_little_endian")
        h.format = Format::Little;
      else if (f == "binary_big_endian")
        h.format = Format::Big;
      else
        return false;
      formatSeen = true;
    } else if (key == "element") {
      Element e;
      e.name = std::string(line.next());
      if (!parseInteger(line.next(), e.count) || e.count < 0) return false;
      h.elements.push_back(std::move(e));
    } else if (key == "property") {
      if (h.elements.empty()) return false;
      Element& e = h.elements.back();
      Property p;
      std::string_view t = line.next();
      const bool list = t == "list";
      if (list) {
        p.countType = typeNamed(line.next());
        if (p.countType == Type::None || isFloatType(p.countType)) return false;
        t = line.next();
      }
      p.type = typeNamed(t);
      const std::string_view name = line.next();
      if (p.type == Type::None || name.empty()) return false;
      p.role = roleOf(e.name, name, list);
      if (p.role == Role::Indices && isFloatType(p.type)) return false;
      e.props.push_back(p);
    } else if (key != "comment" && key != "obj_info" && !key.empty()) {
      return false;
    }
  }
  return false;  // no end_header
}

// Values of the data section, one at a time, as text words or binary numbers.
class Values {
 public:
  Values(std::string_view data, Format f) : data_(data), format_(f) {}

  bool next(Type t, double& out) {
    if (format_ == Format::Ascii) {
      const std::string_view w = word();
      if (isFloatType(t)) return parseFloat(w, out);
      int64_t i = 0;
      if (!parseInteger(w, i)) return false;
      out = static_cast<double>(i);
      return true;
    }
    const size_t n = typeBytes(t);
    if (data_.size() - pos_ < n) return false;
    uint8_t b[8];
    std::memcpy(b, data_.data() + pos_, n);
    pos_ += n;
    if (format_ == Format::Big) {
      for (size_t i = 0; i < n / 2; ++i) std::swap(b[i], b[n - 1 - i]);
    }
    uint64_t u = 0;
    for (size_t i = 0; i < n; ++i) u |= static_cast<uint64_t>(b[i]) << (8 * i);
    switch (t) {
      case Type::I8:
        out = static_cast<int8_t>(u);
        break;
      case Type::U8:
        out = static_cast<uint8_t>(u);
        break;
      case Type::I16:
        out = static_cast<int16_t>(u);
        break;
      case Type::U16:
        out = static_cast<uint16_t>(u);
        break;
      case Type::I32:
        out = static_cast<int32_t>(u);
        break;
      case Type::U32:
        out = static_cast<uint32_t>(u);
        break;
      case Type::F32:
        out = std::bit_cast<float>(static_cast<uint32_t>(u));
        break;
      default:
        out = std::bit_cast<double>(u);
        break;
    }
    return true;
  }

  size_t left() const { return data_.size() - pos_; }
  Format format() const { return format_; }

 private:
  std::string_view word() {
    while (pos_ < data_.size() && (isBlank(data_[pos_]) || data_[pos_] == '\n')) ++pos_;
    const size_t start = pos_;
    while (pos_ < data_.size() && !isBlank(data_[pos_]) && data_[pos_] != '\n') ++pos_;
    return data_.substr(start, pos_ - start);
  }

  std::string_view data_;
  Format format_;
  size_t pos_ = 0;
};

// The fewest bytes a row of the element can take: refuses counts the file cannot hold
// before any memory is set aside for them.
size_t minRowBytes(const Element& e, Format f) {
  size_t n = 0;
  for (const Property& p : e.props)
    n += f == Format::Ascii ? 2 : typeBytes(p.countType == Type::None ? p.type : p.countType);
  return n;
}

uint8_t channel(Type t, double v) {
  if (isFloatType(t)) v *= 255.0;
  if (!(v > 0.0)) return 0;
  if (v >= 255.0) return 255;
  return static_cast<uint8_t>(std::lrint(v));
}

// A list's length: a whole number of elements, at most a billion.
bool readCount(Values& in, Type t, int64_t& n) {
  double v = 0;
  if (!in.next(t, v) || !(v >= 0.0 && v <= 1.0e9)) return false;
  n = static_cast<int64_t>(v);
  return true;
}

// Reads past the values of one property.
bool skipProperty(Values& in, const Property& p) {
  int64_t n = 1;
  if (p.countType != Type::None && !readCount(in, p.countType, n)) return false;
  if (in.format() != Format::Ascii && static_cast<uint64_t>(n) * typeBytes(p.type) > in.left())
    return false;
  double v = 0;
  for (int64_t k = 0; k < n; ++k)
    if (!in.next(p.type, v)) return false;
  return true;
}

bool skipRow(Values& in, const Element& e) {
  for (const Property& p : e.props)
    if (!skipProperty(in, p)) return false;
  return true;
}

struct Reading {
  ImportedMesh& out;
  std::vector<std::array<uint8_t, 3>> vertexRgb;
  bool vertexColors = false, faceColors = false;
  std::vector<int64_t> polygon;
};

bool readVertex(Values& in, const Element& e, Reading& r) {
  double xyz[3] = {0, 0, 0};
  std::array<uint8_t, 3> rgb{0, 0, 0};
  for (const Property& p : e.props) {
    if (p.countType != Type::None) {
      if (!skipProperty(in, p)) return false;
      continue;
    }
    double v = 0;
    if (!in.next(p.type, v)) return false;
    switch (p.role) {
      case Role::X:
        xyz[0] = v;
        break;
      case Role::Y:
        xyz[1] = v;
        break;
      case Role::Z:
        xyz[2] = v;
        break;
      case Role::Red:
        rgb[0] = channel(p.type, v);
        break;
      case Role::Green:
        rgb[1] = channel(p.type, v);
        break;
      case Role::Blue:
        rgb[2] = channel(p.type, v);
        break;
      default:
        break;
    }
  }
  const Vec3 pos{static_cast<float>(xyz[0]), static_cast<float>(xyz[1]),
                 static_cast<float>(xyz[2])};
  if (!std::isfinite(pos.x) || !std::isfinite(pos.y) || !std::isfinite(pos.z)) return false;
  r.out.vertices.push_back(pos);
  if (r.vertexColors) r.vertexRgb.push_back(rgb);
  return true;
}

bool readFace(Values& in, const Element& e, Reading& r) {
  std::array<uint8_t, 3> rgb{0, 0, 0};
  r.polygon.clear();
  for (const Property& p : e.props) {
    double v = 0;
    if (p.countType == Type::None) {
      if (!in.next(p.type, v)) return false;
      if (p.role == Role::Red) rgb[0] = channel(p.type, v);
      if (p.role == Role::Green) rgb[1] = channel(p.type, v);
      if (p.role == Role::Blue) rgb[2] = channel(p.type, v);
      continue;
    }
    int64_t count = 0;
    if (!readCount(in, p.countType, count)) return false;
    if (in.format() != Format::Ascii &&
        static_cast<uint64_t>(count) * typeBytes(p.type) > in.left())
      return false;
    for (int64_t i = 0; i < count; ++i) {
      if (!in.next(p.type, v)) return false;
      if (p.role != Role::Indices) continue;
      if (v < 0 || v > INT32_MAX) return false;
      r.polygon.push_back(static_cast<int64_t>(v));
    }
  }
  const uint16_t faceColor = colorWord8(rgb[0], rgb[1], rgb[2]);
  for (size_t k = 2; k < r.polygon.size(); ++k) {
    r.out.triangles.push_back({static_cast<int32_t>(r.polygon[0]),
                               static_cast<int32_t>(r.polygon[k - 1]),
                               static_cast<int32_t>(r.polygon[k])});
    if (r.faceColors) r.out.colors.push_back(faceColor);
  }
  return true;
}

// Triangle colours from the corners' colours (their mean) when the faces have none.
void colorsFromVertices(Reading& r) {
  r.out.colors.reserve(r.out.triangles.size());
  for (const Tri& t : r.out.triangles) {
    uint32_t sum[3] = {0, 0, 0};
    for (int32_t v : {t.a, t.b, t.c})
      for (int k = 0; k < 3; ++k) sum[k] += r.vertexRgb[static_cast<size_t>(v)][k];
    r.out.colors.push_back(colorWord8(sum[0] / 3, sum[1] / 3, sum[2] / 3));
  }
}

bool hasRole(const Element& e, Role role) {
  for (const Property& p : e.props)
    if (p.role == role) return true;
  return false;
}

}  // namespace

uint8_t parsePly(std::string_view bytes, ImportedMesh& out) {
  out = ImportedMesh{};
  Header h;
  if (!parseHeader(bytes, h)) return kMsgDamagedFile;
  Reading r{out, {}, false, false, {}};
  const Element* vertexElement = nullptr;
  for (const Element& e : h.elements) {
    if (e.name == "vertex") {
      if (vertexElement != nullptr) return kMsgDamagedFile;  // one vertex list only
      if (!hasRole(e, Role::X) || !hasRole(e, Role::Y) || !hasRole(e, Role::Z))
        return kMsgDamagedFile;
      vertexElement = &e;
      r.vertexColors = hasRole(e, Role::Red) || hasRole(e, Role::Green) || hasRole(e, Role::Blue);
    }
    if (e.name == "face")
      r.faceColors = hasRole(e, Role::Red) || hasRole(e, Role::Green) || hasRole(e, Role::Blue);
  }
  Values in(bytes.substr(h.dataStart), h.format);
  for (const Element& e : h.elements) {
    const size_t row = minRowBytes(e, h.format);
    if (row == 0) continue;  // rows without properties hold nothing to read
    if (static_cast<uint64_t>(e.count) > in.left() / row) return kMsgDamagedFile;
    if (&e == vertexElement) out.vertices.reserve(static_cast<size_t>(e.count));
    if (e.name == "face") {
      out.triangles.reserve(out.triangles.size() + static_cast<size_t>(e.count));
      if (r.faceColors) out.colors.reserve(out.triangles.capacity());
    }
    for (int64_t i = 0; i < e.count; ++i) {
      bool ok = true;
      if (&e == vertexElement)
        ok = readVertex(in, e, r);
      else if (e.name == "face")
        ok = readFace(in, e, r);
      else
        ok = skipRow(in, e);
      if (!ok) return kMsgDamagedFile;
    }
  }
  if (out.triangles.empty()) return kMsgNoFacets;
  if (out.vertices.size() > static_cast<size_t>(INT32_MAX)) return kMsgDamagedFile;
  const auto v = static_cast<int32_t>(out.vertices.size());
  for (const Tri& t : out.triangles)
    if (t.a >= v || t.b >= v || t.c >= v) return kMsgDamagedFile;
  if (!r.faceColors && r.vertexColors) colorsFromVertices(r);
  return kMsgNone;
}
