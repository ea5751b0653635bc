#include "gen/DrawScript.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "app/core/Trace.h"
#include "gen/Caption.h"
#include "gen/Color.h"
#include "gen/Figure.h"
#include "gen/ImageOps.h"

namespace gen {

namespace {

bool IsOptionKey(const std::string& t, size_t* eq) {
  size_t i = 0;
  if (t.empty() || !(isalpha(static_cast<unsigned char>(t[0])) || t[0] == '_')) return false;
  while (i < t.size() && (isalnum(static_cast<unsigned char>(t[i])) || t[i] == '_')) ++i;
  if (i >= t.size() || t[i] != '=') return false;
  *eq = i;
  return true;
}

std::string Unquote(const std::string& t) {
  if (t.size() < 2 || t.front() != '"' || t.back() != '"') return t;
  std::string out;
  for (size_t i = 1; i + 1 < t.size(); ++i) {
    if (t[i] == '\\' && i + 2 < t.size()) ++i;
    out += t[i];
  }
  return out;
}

// "linear(1,2,#fff)" → name "linear", arguments "1","2","#fff".
bool SplitCall(const std::string& t, std::string* name, std::vector<std::string>* args) {
  size_t open = t.find('(');
  if (open == std::string::npos || t.back() != ')') return false;
  *name = t.substr(0, open);
  args->clear();
  std::string cur;
  for (size_t i = open + 1; i + 1 < t.size(); ++i) {
    if (t[i] == ',') {
      args->push_back(cur);
      cur.clear();
    } else if (!isspace(static_cast<unsigned char>(t[i]))) {
      cur += t[i];
    }
  }
  args->push_back(cur);
  return true;
}

// A box's value as a whole number, kept to a range any picture fits in.
int BoxValue(float v) { return static_cast<int>(std::fmin(std::fmax(v, -100000.0f), 100000.0f)); }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

void CDrawScript::AddImageDir(const std::string& dir) {
  Trace("CDrawScript::AddImageDir");
  mImageDirs.push_back(dir);
}

bool CDrawScript::Fail(const std::string& message) {
  Trace("CDrawScript::Fail");
  if (mError.empty()) mError = (mpLine ? mpLine->Where() + ": " : std::string()) + message;
  return false;
}

bool CDrawScript::Split(const std::string& text, Args* args) {
  Trace("CDrawScript::Split");
  std::vector<std::string> tokens;
  std::string cur;
  bool quoted = false;
  int paren = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    char c = i < text.size() ? text[i] : ' ';
    if (quoted) {
      cur += c;
      if (c == '\\' && i + 1 < text.size()) cur += text[++i];
      else if (c == '"') quoted = false;
      continue;
    }
    if (c == ';' && paren == 0) break;
    if (c == '"') quoted = true;
    if (c == '(') ++paren;
    if (c == ')') --paren;
    if (isspace(static_cast<unsigned char>(c)) && paren <= 0) {
      if (!cur.empty()) tokens.push_back(cur);
      cur.clear();
      continue;
    }
    cur += c;
  }
  if (quoted) return Fail("a text without its closing quote");
  if (paren > 0) return Fail("'(' without ')'");
  for (size_t i = 1; i < tokens.size(); ++i) {
    size_t eq;
    if (IsOptionKey(tokens[i], &eq))
      args->opt[tokens[i].substr(0, eq)] = Unquote(tokens[i].substr(eq + 1));
    else
      args->pos.push_back(Unquote(tokens[i]));
  }
  if (!tokens.empty()) args->pos.insert(args->pos.begin(), tokens[0]);
  return true;
}

bool CDrawScript::Num(const std::string& text, float* out) {
  Trace("CDrawScript::Num");
  char* end = nullptr;
  double v = strtod(text.c_str(), &end);
  if (text.empty() || *end || !std::isfinite(v)) return Fail("'" + text + "' is not a number");
  *out = static_cast<float>(v);
  return true;
}

bool CDrawScript::Pos(const Args& a, size_t i, float* out) {
  Trace("CDrawScript::Pos");
  if (i >= a.pos.size()) return Fail(a.pos[0] + ": value " + std::to_string(i) + " is missing");
  return Num(a.pos[i], out);
}

bool CDrawScript::OptNum(Args& a, const char* key, float* out) {
  Trace("CDrawScript::OptNum");
  auto it = a.opt.find(key);
  if (it == a.opt.end()) return true;
  std::string v = it->second;
  a.opt.erase(it);
  return Num(v, out);
}

bool CDrawScript::Color(const std::string& text, uint32_t* out) {
  Trace("CDrawScript::Color");
  if (!ParseColor(text, out)) return Fail("'" + text + "' is not a colour");
  return true;
}

bool CDrawScript::NoUnused(const Args& a) {
  Trace("CDrawScript::NoUnused");
  if (a.opt.empty()) return true;
  return Fail(a.pos[0] + " does not know '" + a.opt.begin()->first + "='");
}

bool CDrawScript::ParsePaint(const std::string& text, const Box& box, Paint* out) {
  Trace("CDrawScript::ParsePaint");
  uint32_t c;
  if (!text.empty() && text[0] != '#' && text.find('(') == std::string::npos && text.compare(0, 2, "0x") != 0)
    return Fail("'" + text + "' is not a paint");
  if (ParseColor(text, &c)) {
    *out = SolidPaint(c);
    return true;
  }
  std::string name;
  std::vector<std::string> args;
  if (!SplitCall(text, &name, &args)) return Fail("'" + text + "' is not a paint");
  Paint p;
  size_t firstColor = 0;
  if (name == "linear") {
    p.kind = PaintKind::kLinear;
    firstColor = 4;
  } else if (name == "radial") {
    p.kind = PaintKind::kRadial;
    firstColor = 3;
  } else if (name == "vgrad" || name == "hgrad") {
    p.kind = PaintKind::kLinear;
    p.x0 = box.x0;
    p.y0 = box.y0;
    p.x1 = name == "hgrad" ? box.x1 : box.x0;
    p.y1 = name == "vgrad" ? box.y1 : box.y0;
  } else if (name == "shade") {
    p.kind = PaintKind::kShade;
    if (args.size() != 3 || !Num(args[2], &p.depth)) return Fail("shade(EDGE, INNER, DEPTH)");
    args.pop_back();
  } else {
    return Fail("unknown paint '" + name + "'");
  }
  if (args.size() < firstColor + 2) return Fail(name + "(...) needs at least two colours");
  float g[4] = {0, 0, 0, 0};
  for (size_t i = 0; i < firstColor; ++i)
    if (!Num(args[i], &g[i])) return false;
  if (name == "linear") {
    p.x0 = g[0];
    p.y0 = g[1];
    p.x1 = g[2];
    p.y1 = g[3];
  } else if (name == "radial") {
    p.x0 = g[0];
    p.y0 = g[1];
    p.x1 = g[2];
  }
  for (size_t i = firstColor; i < args.size(); ++i) {
    if (!Color(args[i], &c)) return false;
    p.stops.push_back(PremulFromArgb(c));
  }
  *out = p;
  return true;
}

bool CDrawScript::Style(Args& a, const Box& box, ShapeStyle* s, bool fillByDefault) {
  Trace("CDrawScript::Style");
  s->smooth = mSmooth;
  s->fill = fillByDefault;
  s->paint = SolidPaint(0xFFFFFFFF);
  auto take = [&](const char* key, std::string* v) {
    auto it = a.opt.find(key);
    if (it == a.opt.end()) return false;
    *v = it->second;
    a.opt.erase(it);
    return true;
  };
  std::string v;
  if (take("fill", &v) || take("color", &v)) {
    s->fill = v != "none";
    if (s->fill && !ParsePaint(v, box, &s->paint)) return false;
  }
  if (take("outline", &v)) {
    uint32_t c;
    if (!Color(v, &c)) return false;
    s->outline = true;
    s->outlineColor = PremulFromArgb(c);
  }
  if (!OptNum(a, "width", &s->outlineWidth) || !OptNum(a, "feather", &s->feather) ||
      !OptNum(a, "opacity", &s->opacity))
    return false;
  if (take("mode", &v)) {
    if (v == "over") s->mode = BlendMode::kOver;
    else if (v == "add") s->mode = BlendMode::kAdd;
    else if (v == "multiply") s->mode = BlendMode::kMultiply;
    else if (v == "erase") s->mode = BlendMode::kErase;
    else if (v == "replace") s->mode = BlendMode::kReplace;
    else return Fail("unknown mode '" + v + "'");
  }
  return true;
}

bool CDrawScript::Draw(const Shape& shape, Args& a, bool fillByDefault) {
  Trace("CDrawScript::Draw");
  ShapeStyle style;
  if (!Style(a, shape.bounds, &style, fillByDefault)) return false;
  std::string shadow;
  auto it = a.opt.find("shadow");
  if (it != a.opt.end()) {
    shadow = it->second;
    a.opt.erase(it);
  }
  float sx = 3, sy = 3, sblur = 4;
  if (!OptNum(a, "shadowx", &sx) || !OptNum(a, "shadowy", &sy) || !OptNum(a, "shadowblur", &sblur) ||
      !NoUnused(a))
    return false;
  if (!shadow.empty()) {
    uint32_t c;
    if (!Color(shadow, &c)) return false;
    Shape moved = shape;
    moved.cx += sx;
    moved.cy += sy;
    for (auto& p : moved.points) p = Point{p.x + sx, p.y + sy};
    moved.bounds = Box{shape.bounds.x0 + sx, shape.bounds.y0 + sy, shape.bounds.x1 + sx, shape.bounds.y1 + sy};
    ShapeStyle ss;
    ss.paint = SolidPaint(c);
    ss.feather = sblur;
    ss.smooth = mSmooth;
    ss.opacity = style.opacity;
    DrawShape(mpOut->canvas, moved, ss);
  }
  DrawShape(mpOut->canvas, shape, style);
  if (mSmooth && !mFilling) mpOut->smoothEdges = true;
  return true;
}

bool CDrawScript::Points(const Args& a, size_t from, std::vector<Point>* out) {
  Trace("CDrawScript::Points");
  if ((a.pos.size() - from) % 2 != 0 || a.pos.size() - from < 4) return Fail(a.pos[0] + " needs pairs of x y");
  for (size_t i = from; i + 1 < a.pos.size(); i += 2) {
    Point p;
    if (!Num(a.pos[i], &p.x) || !Num(a.pos[i + 1], &p.y)) return false;
    out->push_back(p);
  }
  return true;
}

bool CDrawScript::Path(const Args& a, std::vector<Point>* out) {
  Trace("CDrawScript::Path");
  size_t i = 1;
  Point cur;
  auto xy = [&](Point* p) { return i + 1 < a.pos.size() && Num(a.pos[i], &p->x) && Num(a.pos[i + 1], &p->y) && (i += 2); };
  while (i < a.pos.size()) {
    std::string op = a.pos[i++];
    Point p, c1, c2;
    if (op == "M" || op == "L") {
      if (!xy(&p)) return Fail("path: " + op + " needs x y");
      out->push_back(p);
    } else if (op == "Q") {
      if (!xy(&c1) || !xy(&p)) return Fail("path: Q needs cx cy x y");
      AddQuadratic(cur, c1, p, out);
    } else if (op == "C") {
      if (!xy(&c1) || !xy(&c2) || !xy(&p)) return Fail("path: C needs c1x c1y c2x c2y x y");
      AddCubic(cur, c1, c2, p, out);
    } else if (op == "Z") {
      break;
    } else {
      return Fail("path: unknown step '" + op + "' (M, L, Q, C, Z)");
    }
    if (out->empty()) return Fail("path must start with M");
    cur = p;
  }
  return true;
}

bool CDrawScript::Elements(const std::string& name, Args& a) {
  Trace("CDrawScript::Elements");
  // A picture file holds at most 65535 elements.
  constexpr size_t kMaxElements = 65535;
  auto add = [&](float x, float y, float w, float h, float ox, float oy) {
    if (mpOut->elements.size() >= kMaxElements) return;
    auto v16 = [](float f) { return static_cast<int16_t>(std::lround(std::fmin(std::fmax(f, -32768.0f), 32767.0f))); };
    mpOut->elements.push_back(SprtElement{v16(x), v16(y), v16(w), v16(h), v16(ox), v16(oy)});
  };
  if (name == "empty") {
    float n = 1;
    if (a.pos.size() > 1 && !Pos(a, 1, &n)) return false;
    if (!(n >= 0 && n <= 65535)) return Fail("empty N: 0 to 65535 elements");
    for (int i = 0; i < static_cast<int>(n); ++i) add(0, 0, 0, 0, 0, 0);
    return NoUnused(a);
  }
  float v[6] = {0, 0, 0, 0, 0, 0};
  size_t need = name == "grid" ? 6 : 4;
  for (size_t i = 0; i < need; ++i)
    if (!Pos(a, i + 1, &v[i])) return false;
  if (name == "element") {
    if (a.pos.size() == 7) {
      if (!Pos(a, 5, &v[4]) || !Pos(a, 6, &v[5])) return false;
      mpOut->elementWidth = 6;
    } else if (a.pos.size() != 5) {
      return Fail("element X Y W H [OX OY]");
    }
    add(v[0], v[1], v[2], v[3], v[4], v[5]);
    return NoUnused(a);
  }
  float gx = 0, gy = 0;
  if (!OptNum(a, "gapx", &gx) || !OptNum(a, "gapy", &gy) || !NoUnused(a)) return false;
  if (!(v[4] >= 0 && v[5] >= 0 && v[4] <= 65535 && v[5] <= 65535) || static_cast<double>(v[4]) * v[5] > 65535)
    return Fail("a picture holds at most 65535 elements");
  for (int r = 0; r < static_cast<int>(v[5]); ++r)
    for (int c = 0; c < static_cast<int>(v[4]); ++c)
      add(v[0] + c * (v[2] + gx), v[1] + r * (v[3] + gy), v[2], v[3], 0, 0);
  return true;
}

const LoadedPicture* CDrawScript::LoadImage(const std::string& name) {
  Trace("CDrawScript::LoadImage");
  namespace fs = std::filesystem;
  std::vector<std::string> candidates;
  if (fs::path(name).is_absolute()) {
    candidates.push_back(name);
  } else {
    if (mpLine) candidates.push_back((fs::path(mpLine->file).parent_path() / name).string());
    for (const auto& d : mImageDirs) candidates.push_back((fs::path(d) / name).string());
    candidates.push_back(name);
  }
  for (const auto& path : candidates) {
    if (!fs::exists(path)) continue;
    auto it = mImages.find(path);
    if (it == mImages.end()) {
      LoadedPicture pic;
      std::string error;
      if (!LoadPicture(path, &pic, &error)) {
        Fail(error);
        return nullptr;
      }
      pic.premul.resize(pic.pixels.size());
      for (size_t i = 0; i < pic.pixels.size(); ++i) pic.premul[i] = PremulFromArgb(pic.pixels[i]);
      it = mImages.emplace(path, std::move(pic)).first;
      mImageFiles.push_back(path);
    }
    return &it->second;
  }
  Fail("image '" + name + "' not found");
  return nullptr;
}

bool CDrawScript::Image(Args& a) {
  Trace("CDrawScript::Image");
  if (a.pos.size() != 4 && a.pos.size() != 6) return Fail("image FILE X Y [W H]");
  const LoadedPicture* found = LoadImage(a.pos[1]);
  if (!found) return false;
  const LoadedPicture& pic = *found;
  float x, y;
  if (!Pos(a, 2, &x) || !Pos(a, 3, &y)) return false;
  float sx = 0, sy = 0, sw = static_cast<float>(pic.width), sh = static_cast<float>(pic.height);
  auto el = a.opt.find("element");
  if (el != a.opt.end()) {
    float n;
    const std::string element = el->second;
    a.opt.erase(el);
    if (!Num(element, &n)) return false;
    size_t k = static_cast<size_t>(n);
    if (n < 0 || k >= pic.elements.size()) return Fail("the picture has no element " + element);
    const SprtElement& e = pic.elements[k];
    sx = e.x;
    sy = e.y;
    sw = e.w;
    sh = e.h;
  }
  auto src = a.opt.find("src");
  if (src != a.opt.end()) {
    std::string name;
    std::vector<std::string> parts;
    if (!SplitCall("src(" + src->second + ")", &name, &parts) || parts.size() != 4 || !Num(parts[0], &sx) ||
        !Num(parts[1], &sy) || !Num(parts[2], &sw) || !Num(parts[3], &sh))
      return Fail("src=X,Y,W,H");
    a.opt.erase(src);
  }
  float w = sw, h = sh, opacity = 1;
  if (a.pos.size() == 6 && (!Pos(a, 4, &w) || !Pos(a, 5, &h))) return false;
  if (!OptNum(a, "opacity", &opacity) || !NoUnused(a)) return false;
  DrawImage(mpOut->canvas, pic.premul.data(), pic.width, pic.height, sx, sy, sw, sh, x, y, w, h, opacity);
  return true;
}

bool CDrawScript::Text(Args& a) {
  Trace("CDrawScript::Text");
  if (a.pos.size() != 4) return Fail("text X Y \"TEXT\"");
  float x, y, size = 24, weight = 400, shx = 2, shy = 2;
  if (!Pos(a, 1, &x) || !Pos(a, 2, &y) || !OptNum(a, "size", &size) || !OptNum(a, "weight", &weight) ||
      !OptNum(a, "shadowx", &shx) || !OptNum(a, "shadowy", &shy))
    return false;
  CaptionStyle style;
  style.size = BoxValue(size);
  style.weight = BoxValue(weight);
  style.shadowX = BoxValue(shx);
  style.shadowY = BoxValue(shy);
  auto take = [&](const char* key, std::string* v) {
    auto it = a.opt.find(key);
    if (it == a.opt.end()) return false;
    *v = it->second;
    a.opt.erase(it);
    return true;
  };
  std::string v;
  if (take("color", &v) && !Color(v, &style.color)) return false;
  if (take("shadow", &v)) {
    if (!Color(v, &style.shadowColor)) return false;
    style.shadow = true;
  }
  if (take("face", &v)) style.face = v;
  if (take("bold", &v)) style.weight = v == "0" ? 400 : 700;
  if (take("align", &v)) {
    if (v == "left") style.align = 0;
    else if (v == "center") style.align = 1;
    else if (v == "right") style.align = 2;
    else return Fail("align=left|center|right");
  }
  if (!NoUnused(a)) return false;
  mpOut->smoothEdges = true;
  std::string error;
  if (!DrawCaption(mpOut->canvas, BoxValue(std::round(x)), BoxValue(std::round(y)), style,
                   a.pos[3], &error))
    return Fail(error);
  return true;
}

bool CDrawScript::Noise(Args& a) {
  Trace("CDrawScript::Noise");
  float v[4], amount = 0.05f, seed = 1, mono = 1;
  for (int i = 0; i < 4; ++i)
    if (!Pos(a, static_cast<size_t>(i) + 1, &v[i])) return false;
  if (!OptNum(a, "amount", &amount) || !OptNum(a, "seed", &seed) || !OptNum(a, "mono", &mono) || !NoUnused(a))
    return false;
  AddNoise(mpOut->canvas, BoxValue(v[0]), BoxValue(v[1]), BoxValue(v[2]), BoxValue(v[3]), amount,
           static_cast<uint32_t>(BoxValue(seed)), mono != 0);
  return true;
}

bool CDrawScript::Blur(Args& a) {
  Trace("CDrawScript::Blur");
  float v[4], radius = 2;
  for (int i = 0; i < 4; ++i)
    if (!Pos(a, static_cast<size_t>(i) + 1, &v[i])) return false;
  if (!OptNum(a, "radius", &radius) || !NoUnused(a)) return false;
  if (radius < 0 || radius > 256) return Fail("blur radius=0..256");
  BoxBlur(mpOut->canvas, BoxValue(v[0]), BoxValue(v[1]), BoxValue(v[2]), BoxValue(v[3]), static_cast<int>(radius));
  return true;
}

bool CDrawScript::GradeCmd(Args& a) {
  Trace("CDrawScript::GradeCmd");
  float v[4], gray = 1;
  for (int i = 0; i < 4; ++i)
    if (!Pos(a, static_cast<size_t>(i) + 1, &v[i])) return false;
  uint32_t tint = 0xFFFFFFFF;
  auto it = a.opt.find("tint");
  if (it != a.opt.end()) {
    if (!Color(it->second, &tint)) return false;
    a.opt.erase(it);
  }
  if (!OptNum(a, "gray", &gray) || !NoUnused(a)) return false;
  Grade(mpOut->canvas, BoxValue(v[0]), BoxValue(v[1]), BoxValue(v[2]), BoxValue(v[3]), gray, tint);
  return true;
}

bool CDrawScript::Figure(Args& a) {
  Trace("CDrawScript::Figure");
  FigureSpec spec;
  if (!Pos(a, 1, &spec.x) || !Pos(a, 2, &spec.y) || !OptNum(a, "scale", &spec.scale) ||
      !OptNum(a, "turn", &spec.turn))
    return false;
  for (auto it = a.opt.begin(); it != a.opt.end();) {
    std::string error;
    if (!SetFigureOption(&spec, it->first, it->second, &error)) return Fail(error);
    it = a.opt.erase(it);
  }
  spec.smooth = mSmooth;
  DrawFigure(mpOut->canvas, spec);
  if (mSmooth) mpOut->smoothEdges = true;
  return true;
}

bool CDrawScript::Command(const std::string& name, Args& a) {
  Trace("CDrawScript::Command");
  if (name == "picture") {
    float w, h;
    if (mStarted) return Fail("picture may only come once");
    if (!Pos(a, 1, &w) || !Pos(a, 2, &h)) return false;
    if (!(w >= 1 && w <= 8192 && h >= 1 && h <= 8192)) return Fail("a picture is 1 to 8192 pixels a side");
    if (static_cast<double>(w) * h > static_cast<double>(mMaxPixels))
      return Fail("a picture of " + std::to_string(static_cast<long>(w)) + "x" + std::to_string(static_cast<long>(h)) +
                  " is larger than " + std::to_string(mMaxPixels) + " pixels");
    if (!mpOut->canvas.Create(static_cast<int>(w), static_cast<int>(h))) return Fail("a picture is 1 to 8192 pixels a side");
    mStarted = true;
    auto it = a.opt.find("encoding");
    if (it != a.opt.end()) {
      if (it->second == "raw") mpOut->encoding = kPictureRaw;
      else if (it->second == "sgd") mpOut->encoding = kPictureSGD;
      else if (it->second == "png") mpOut->encoding = kPicturePNG;
      else return Fail("encoding=raw|sgd|png");
      a.opt.erase(it);
    }
    return NoUnused(a);
  }
  if (!mStarted) return Fail("the description must begin with 'picture W H'");
  if (name == "smooth") {
    if (a.pos.size() != 2 || (a.pos[1] != "on" && a.pos[1] != "off")) return Fail("smooth on|off");
    mSmooth = a.pos[1] == "on";
    return true;
  }
  const float W = static_cast<float>(mpOut->canvas.Width()), H = static_cast<float>(mpOut->canvas.Height());
  if (name == "fill") {
    if (a.pos.size() != 2) return Fail("fill PAINT");
    a.opt["fill"] = a.pos[1];
    // A fill covers every pixel whole, so it has no edges to smooth.
    mFilling = true;
    bool ok = Draw(MakeRect(-4, -4, W + 8, H + 8, 0, 0), a, true);
    mFilling = false;
    return ok;
  }
  if (name == "rect") {
    float x, y, w, h, r = 0, rot = 0;
    if (!Pos(a, 1, &x) || !Pos(a, 2, &y) || !Pos(a, 3, &w) || !Pos(a, 4, &h) || !OptNum(a, "radius", &r) ||
        !OptNum(a, "rot", &rot))
      return false;
    if (a.pos.size() != 5) return Fail("rect X Y W H");
    return Draw(MakeRect(x, y, w, h, r, rot), a, true);
  }
  if (name == "ellipse" || name == "circle") {
    float cx, cy, rx, ry, rot = 0;
    if (!Pos(a, 1, &cx) || !Pos(a, 2, &cy) || !Pos(a, 3, &rx) || !OptNum(a, "rot", &rot)) return false;
    ry = rx;
    if (a.pos.size() == 5 && !Pos(a, 4, &ry)) return false;
    if (a.pos.size() > 5) return Fail("ellipse CX CY RX [RY]");
    return Draw(MakeEllipse(cx, cy, rx, ry, rot), a, true);
  }
  if (name == "poly" || name == "path") {
    std::vector<Point> pts;
    if (name == "poly" ? !Points(a, 1, &pts) : !Path(a, &pts)) return false;
    return Draw(MakePolygon(std::move(pts)), a, true);
  }
  if (name == "line" || name == "curve") {
    std::vector<Point> pts;
    float width = 2;
    auto it = a.opt.find("width");
    if (it != a.opt.end()) {
      if (!Num(it->second, &width)) return false;
      a.opt.erase(it);
    }
    if (name == "line") {
      if (!Points(a, 1, &pts)) return false;
    } else {
      std::vector<Point> raw;
      if (!Points(a, 1, &raw)) return false;
      if (raw.size() < 3 || raw.size() % 2 == 0) return Fail("curve X0 Y0 CX CY X1 Y1 [CX CY X2 Y2]...");
      pts.push_back(raw[0]);
      for (size_t i = 1; i + 1 < raw.size(); i += 2) AddQuadratic(raw[i - 1], raw[i], raw[i + 1], &pts);
    }
    return Draw(MakeStroke(std::move(pts), width), a, true);
  }
  if (name == "text") return Text(a);
  if (name == "image") return Image(a);
  if (name == "noise") return Noise(a);
  if (name == "blur") return Blur(a);
  if (name == "grade") return GradeCmd(a);
  if (name == "figure") return Figure(a);
  if (name == "element" || name == "grid" || name == "empty") return Elements(name, a);
  if (name == "hotspot") {
    float x, y;
    if (a.pos.size() != 3 || !Pos(a, 1, &x) || !Pos(a, 2, &y)) return Fail("hotspot X Y");
    if (x < 0 || y < 0 || x >= W || y >= H) return Fail("the hot spot must lie in the picture");
    mpOut->hotX = static_cast<int>(x);
    mpOut->hotY = static_cast<int>(y);
    return NoUnused(a);
  }
  return Fail("unknown command '" + name + "'");
}

bool CDrawScript::Run(const std::vector<SourceLine>& lines, PictureResult* out, std::string* error) {
  Trace("CDrawScript::Run");
  mpOut = out;
  mError.clear();
  mStarted = false;
  mSmooth = true;
  for (const SourceLine& line : lines) {
    mpLine = &line;
    size_t first = line.text.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    if (line.text[first] == '#' && (first + 1 >= line.text.size() || isspace(static_cast<unsigned char>(line.text[first + 1]))))
      continue;
    Args a;
    if (!Split(line.text, &a)) break;
    if (a.pos.empty()) continue;
    if (!Command(Lower(a.pos[0]), a)) break;
  }
  mpLine = nullptr;
  if (mError.empty() && !mStarted) Fail("the description draws nothing: 'picture W H' is missing");
  if (mError.empty() && out->elements.empty()) {
    int16_t w = static_cast<int16_t>(out->canvas.Width()), h = static_cast<int16_t>(out->canvas.Height());
    out->elements.push_back(SprtElement{0, 0, w, h, 0, 0});
  }
  if (!mError.empty() && error) *error = mError;
  return mError.empty();
}

}  // namespace gen
