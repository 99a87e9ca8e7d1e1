// The source map stays true to the tree: every file under src/ is named in
// ROADMAP.md in the section of its folder, and every file the map names exists.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(Roadmap, NamesEverySourceFileAndOnlyFilesThatExist) {
  const fs::path root(COASTRA_SOURCE_DIR);
  std::ifstream in(root / "ROADMAP.md");
  ASSERT_TRUE(in) << "ROADMAP.md missing";
  // Sections "## dir/ ..." hold the files of dir (src/dir for the program's
  // folders); `name.ext` names one, a name with a slash is taken from the
  // project root or from src/.
  const std::regex heading(R"(^## ([\w./]+/))");
  const auto where = [&root](const std::string& p) {
    return fs::exists(root / p) || !fs::exists(root / "src" / p) ? p : "src/" + p;
  };
  const std::regex file_name(R"(`([\w./-]+\.(?:cpp|h|sh|py))`)");
  std::set<std::string> named;   // paths from the project root
  std::string section, line;
  while (std::getline(in, line)) {
    std::smatch h;
    if (line.rfind("## ", 0) == 0) {
      section = std::regex_search(line, h, heading) ? where(h[1]) : "";
      continue;
    }
    for (std::sregex_iterator it(line.begin(), line.end(), file_name), end; it != end; ++it) {
      const std::string n = (*it)[1];
      const bool rooted = n.find('/') != std::string::npos;
      if (!rooted && section.empty()) continue;
      const std::string path = rooted ? where(n) : section + n;
      named.insert(path);
      EXPECT_TRUE(fs::exists(root / path)) << "ROADMAP.md names " << path << ", which is missing";
    }
  }
  for (const auto& e : fs::recursive_directory_iterator(root / "src")) {
    if (!e.is_regular_file()) continue;
    const std::string path = fs::relative(e.path(), root).generic_string();
    EXPECT_EQ(named.count(path), 1U) << path << " is not named in ROADMAP.md";
  }
  EXPECT_GT(named.size(), 100U);   // the map was read
}

}  // namespace
