#include "save/SaveDigest.h"

#include "app/core/MainWindow.h"
#include "scenario/MD5.h"

std::string SaveHexDigest(const std::string& text) {
  CMD5 md5;
  md5.setPlainText(text.c_str());
  const char* hex = md5.getMD5Digest();
  return hex ? std::string(hex, 32) : std::string();
}

const char* SavePhrase() { return GameTitle(); }
