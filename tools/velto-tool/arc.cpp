// velto-tool arc: makes, lists and unpacks the archive files that can stand
// in for a file source (FJSYS, SM2MPX10, MGCFILE).
#include <sys/stat.h>

#include <cinttypes>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Command.h"
#include "assets/ArchiveWriter.h"
#include "assets/FileJoin.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

namespace {

int ArcMain(const tool::Args& args);

VELTO_TOOL_COMMAND("arc", "make, list and unpack archives (FJSYS, SM2MPX10, MGCFILE)",
                   "usage: velto-tool arc create --kind fjsys|sm2mpx10|mgcfile ARCHIVE FILE...\n"
                   "       velto-tool arc list ARCHIVE\n"
                   "       velto-tool arc extract ARCHIVE DIR\n"
                   "\n"
                   "create  writes ARCHIVE with one entry per FILE, named by the file's base name\n"
                   "        and sorted in the order lookup needs; names are stored in the game's\n"
                   "        text encoding (the name limits count its bytes), and a name it cannot\n"
                   "        hold is refused\n"
                   "list    prints NAME<TAB>SIZE<TAB>OFFSET per entry, in stored order\n"
                   "extract writes every entry into DIR\n"
                   "\n"
                   "File names on the command line and in the output are UTF-8.\n",
                   &ArcMain);

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Opens an archive through the engine's own reader.
bool OpenArchive(const std::string& path, CFileJoin* join) {
  size_t slash = path.find_last_of('/');
  std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return !name.empty() && join->Initialize(dir.c_str(), name.c_str(), "") &&
         join->GetMode() == CFileJoin::kModeArchive;
}

bool CopyBytes(FILE* in, FILE* out, uint64_t size) {
  char buf[1 << 16];
  while (size > 0) {
    size_t n = size < sizeof buf ? static_cast<size_t>(size) : sizeof buf;
    if (fread(buf, 1, n, in) != n || fwrite(buf, 1, n, out) != n) return false;
    size -= n;
  }
  return true;
}

int Create(const tool::Args& args) {
  uint32_t kind = 0;
  std::vector<std::string> rest;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--kind" && i + 1 < args.size()) {
      kind = ArchiveKindByName(args[++i]);
      if (!kind) return tool::Fail("unknown archive kind '" + args[i] + "'");
    } else {
      rest.push_back(args[i]);
    }
  }
  if (!kind || rest.size() < 2) return tool::Usage("arc");
  const std::string& archive = rest[0];
  std::vector<ArchiveItem> items;
  std::map<std::string, std::string> pathOf;
  for (size_t i = 1; i < rest.size(); ++i) {
    struct stat st;
    if (stat(rest[i].c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return tool::Fail("cannot read '" + rest[i] + "'");
    // The engine looks names up in the build's encoding: stored in UTF-8,
    // a name outside ASCII could never be found.
    std::string name;
    if (!plat::TryFromUtf8(BaseName(rest[i]), name))
      return tool::Fail("file name '" + BaseName(rest[i]) + "' cannot be written in the game's text encoding (" +
                        plat::BuildEncodingName() + ")");
    if (pathOf.count(name)) return tool::Fail("file name '" + BaseName(rest[i]) + "' given twice");
    pathOf[name] = rest[i];
    items.push_back({name, static_cast<uint64_t>(st.st_size), 0});
  }
  std::vector<uint8_t> tables;
  std::string error;
  if (!MakeArchiveTables(kind, &items, &tables, &error)) return tool::Fail(plat::ToUtf8(error));
  FILE* out = fopen(archive.c_str(), "wb");
  if (!out) return tool::Fail("cannot write '" + archive + "'");
  bool ok = fwrite(tables.data(), 1, tables.size(), out) == tables.size();
  for (const auto& item : items) {
    if (!ok) break;
    FILE* in = fopen(pathOf[item.name].c_str(), "rb");
    ok = in && CopyBytes(in, out, item.size);
    if (in) fclose(in);
  }
  ok = fclose(out) == 0 && ok;
  if (!ok) {
    remove(archive.c_str());
    return tool::Fail("writing '" + archive + "' failed");
  }
  return 0;
}

int List(const tool::Args& args) {
  if (args.size() != 2) return tool::Usage("arc");
  CFileJoin join;
  if (!OpenArchive(args[1], &join)) return tool::Fail("'" + args[1] + "' is not a readable archive");
  ArchiveEntryInfo info;
  for (int i = 0; join.GetEntryInfo(i, &info); ++i)
    printf("%s\t%" PRIu32 "\t%" PRIu64 "\n", plat::ToUtf8(info.name).c_str(), info.size, info.offset);
  return 0;
}

// Names that would leave the target folder are refused.
bool SafeName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos;
}

int Extract(const tool::Args& args) {
  if (args.size() != 3) return tool::Usage("arc");
  CFileJoin join;
  if (!OpenArchive(args[1], &join)) return tool::Fail("'" + args[1] + "' is not a readable archive");
  std::string dir = plat::WithSeparator(args[2]);
  if (!plat::MakeDirectory(dir)) return tool::Fail("cannot make folder '" + args[2] + "'");
  FileHandle h = FileOpenRead(args[1]);
  uint64_t archiveSize = FileSize64(h);
  int failures = 0;
  std::vector<char> buf(1 << 16);
  ArchiveEntryInfo info;
  for (int i = 0; join.GetEntryInfo(i, &info); ++i) {
    // Checked in UTF-8: a second byte of a double-byte character may equal
    // a separator's code.
    const std::string name = plat::ToUtf8(info.name);
    if (!SafeName(name)) {
      fprintf(stderr, "velto-tool: entry %d has an unsafe name, skipped\n", i);
      ++failures;
      continue;
    }
    if (info.offset > archiveSize || info.size > archiveSize - info.offset) {
      fprintf(stderr, "velto-tool: entry '%s' lies beyond the archive, skipped\n", name.c_str());
      ++failures;
      continue;
    }
    FILE* out = fopen((dir + name).c_str(), "wb");
    bool ok = out != nullptr;
    for (uint64_t done = 0; ok && done < info.size;) {
      uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(buf.size(), info.size - done));
      ok = FileReadAt(h, buf.data(), n, info.offset + done) == n && fwrite(buf.data(), 1, n, out) == n;
      done += n;
    }
    if (out) ok = fclose(out) == 0 && ok;
    if (!ok) {
      fprintf(stderr, "velto-tool: cannot write '%s'\n", (dir + name).c_str());
      ++failures;
    }
  }
  FileCloseHandle(h);
  return failures ? 1 : 0;
}

int ArcMain(const tool::Args& args) {
  if (args.empty()) return tool::Usage("arc");
  if (args[0] == "create") return Create(args);
  if (args[0] == "list") return List(args);
  if (args[0] == "extract") return Extract(args);
  return tool::Usage("arc");
}

}  // namespace
