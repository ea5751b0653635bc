// Every method records itself in the trace ring as its first action, so the
// log of a failure shows the steps that led to it. This reads the sources
// and headers of every library above the platform layer (which sits below
// the ring and cannot reach it) and names each method that does not; what
// counts as a method is written in MethodScan.h.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "MethodScan.h"

namespace {

namespace fs = std::filesystem;
using methodscan::FindMethods;

std::string Names(const std::vector<methodscan::Method>& methods) {
  std::string out;
  for (const auto& m : methods) out += m.name + (m.traced ? "+" : "-") + " ";
  return out;
}

TEST(TraceCoverage, TheScanFindsMethodsAndOnlyMethods) {
  const char* source = R"cpp(
#include "x.h"
    namespace {
    int Helper(int a) { return a; }  // free function
    struct Local {
      void Run() {}
    };                                           // non-virtual, inside a class
    auto gLambda = [](int a) { return a + 1; };  // lambda
    }                                            // namespace
    namespace plat {
    void Open() {}  // namespace function
    }               // namespace plat
    class CShape : public CBase {
     public:
      CShape() = default;
      int Size() const { return mSize; }  // non-virtual accessor
      virtual void Draw() { Trace("CShape::Draw"); }
      void Move() override {}
      virtual void Plan();  // declared only
     protected:
      struct Inner {
        virtual ~Inner() {}
      };
      enum { kA = 1 };
      int mSize = 0;
    };
    CThing::CThing(int a) : mA(a), mB{a, 2} { Trace("CThing::CThing"); }
    CThing::~CThing() { Trace("CThing::~CThing"); }
    bool CThing::Good(const char* s) const {
      Trace("CThing::Good");  // "{ braces in text }"
      if (s) {
        return true;
      }
      return false;
    }
    void CThing::Late() {
      int x = 0;
      Trace("CThing::Late");
    }
    void CThing::Misnamed() { Trace("CThing::Other"); }
    CThing& CThing::operator=(const CThing&) { return *this; }
    void snr::CReader::Step() { Trace("CReader::Step"); }
    int CThing::kTable[] = {1, 2};
    void CWinImpl::Go() { Trace("CWin::Go"); }
    CWinImpl::CWinImpl() { Trace("CWin::CWin"); }
    namespace scene::detail {
    template <typename T>
    void CBox<T>::Put(const T& t) { Trace("CBox::Put"); }
    auto CBox::Get() const -> int { return 1; }
    void
    CBox::
    Split(int a,
          int b) const
    {
      Trace("CBox::Split");
    }
    void CBox::operator()(int) { Trace("CBox::operator()"); }
    int CBox::Digits() { int x = 1'000; Trace("CBox::Digits"); return x; }
    }  // namespace scene::detail
  )cpp";
  EXPECT_EQ(Names(FindMethods(source)),
            "CShape::Draw+ CShape::Move- Inner::~Inner- CThing::CThing+ CThing::~CThing+ CThing::Good+ "
            "CThing::Late- CThing::Misnamed- CThing::operator=- CReader::Step+ CWinImpl::Go+ CWinImpl::CWinImpl+ "
            "CBox::Put+ CBox::Get- CBox::Split+ CBox::operator()+ CBox::Digits- ");
}

TEST(TraceCoverage, EveryMethodAboveThePlatformTracesItselfFirst) {
  const fs::path src = fs::path(VELTO_SOURCE_DIR) / "src";
  std::string offenders;
  int checked = 0;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    const std::string rel = fs::relative(entry.path(), src).generic_string();
    if (rel.rfind("platform/", 0) == 0) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    for (const auto& m : FindMethods(text.str())) {
      ++checked;
      if (!m.traced)
        offenders += "src/" + rel + ":" + std::to_string(m.line) + ": " + m.name + " starts with `" + m.first + "`\n";
    }
  }
  EXPECT_GT(checked, 500);
  EXPECT_EQ(offenders, "") << "each of these must begin with Trace(\"Class::Method\")";
}

}  // namespace
