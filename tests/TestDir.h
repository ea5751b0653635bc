// A scratch folder for one test, removed with everything in it afterwards.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TestDir {
 public:
  TestDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "velto-test-XXXXXX").string();
    char* made = mkdtemp(tmpl.data());
    mPath = std::string(made ? made : tmpl.c_str()) + "/";
  }
  ~TestDir() {
    std::error_code ec;
    std::filesystem::remove_all(mPath, ec);
  }
  TestDir(const TestDir&) = delete;
  TestDir& operator=(const TestDir&) = delete;

  // Ends in '/'.
  const std::string& path() const { return mPath; }
  std::string File(const std::string& name) const { return mPath + name; }
  bool Exists(const std::string& name) const { return std::filesystem::exists(mPath + name); }
  void Write(const std::string& name, const std::string& data) const {
    std::filesystem::path p(mPath + name);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << data;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(mPath + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::string mPath;
};
