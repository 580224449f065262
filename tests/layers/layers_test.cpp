// The layers of the source tree, held by the build: which folder's code may
// include which other folder's headers, and which folders may use Qt
// Widgets. The table lists the layers from the bottom up and a folder may
// name only folders below it; an include that is not in it fails with its
// file and line, and a permission no include uses any more fails too, so the
// table only ever narrows. The link lines the build wrote
// are held too: the models, the engine and the core link no widget library.
// CONTRIBUTING.md explains it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Folders = std::set<std::string>;

// The folders whose code is compiled into the program and its libraries.
const char* const kSourceRoots[] = {"app",     "core",        "document", "render", "editor",   "properties",
                                    "formats", "datasources", "printing", "libs",   "platform", "views"};

struct Layer {
  std::string folder;
  Folders mayInclude;
};

// The layers from the bottom up: each folder and the other folders whose
// headers its code may include. A folder may name only folders listed
// before it, so an include that runs back up cannot be allowed by adding it
// here.
const std::vector<Layer> kLayers = {
    // The bottom: the platform layers and the two shared libraries.
    {"platform", {}},
    {"platform/printer", {}},
    {"platform/colmo2", {"platform"}},
    {"platform/db", {"platform"}},
    {"platform/lineo2", {"platform", "platform/colmo2"}},
    {"libs/scriva2", {"platform", "platform/colmo2"}},
    {"libs/pictor2", {"platform", "platform/colmo2"}},
    {"libs/pictor2/fuzz", {"libs/pictor2"}},
    // The document model, the canvas core and the program's settings,
    // settings file, database and seed.
    {"document", {"platform"}},
    {"document/canvas", {"document", "platform"}},
    {"core", {"document", "platform", "platform/db", "platform/printer"}},
    // The data engine.
    {"datasources/readers", {"platform", "platform/db"}},
    {"datasources/process", {"datasources/readers", "platform"}},
    // The work the user waits for waits as a read does (process/waitedwork.h).
    {"datasources", {"datasources/process", "datasources/readers", "platform", "platform/db"}},
    {"datasources/sample", {}},
    // The drawing of a label; the editor and the property windows' models.
    {"render", {"document", "libs/pictor2", "libs/scriva2", "platform", "platform/colmo2", "platform/lineo2"}},
    {"editor", {"document", "document/canvas", "libs/pictor2", "platform", "render"}},
    {"properties", {"editor", "platform", "platform/db", "render"}},
    {"properties/artwork", {}},
    {"datasources/models",
     {"core", "datasources", "datasources/readers", "document", "editor", "platform", "platform/db"}},
    // The formats and the wizard's model; the print engine and layout.
    {"formats", {"core", "datasources/readers", "document", "platform", "platform/db", "render"}},
    {"formats/templategen", {"formats"}},
    {"printing", {"core", "datasources", "document", "platform", "platform/printer", "render"}},
    // The views the windows build on, then the windows.
    {"views", {"core", "platform", "render"}},
    {"editor/view", {"core", "document", "document/canvas", "editor", "platform", "render", "views"}},
    {"datasources/windows", {"core", "datasources", "datasources/models", "platform", "views"}},
    {"properties/windows", {"core", "datasources/windows", "editor", "editor/view", "platform", "properties", "views"}},
    {"formats/windows", {"core", "document", "formats", "platform", "platform/db", "views"}},
    {"printing/panel",
     {"core", "datasources", "document", "formats/windows", "platform", "platform/printer", "printing", "views"}},
    // The main window; on top, the program's shell and composition root.
    {"app/window", {"core", "document", "platform", "platform/db", "platform/printer", "views"}},
    {"app",
     {"app/window", "core", "datasources", "datasources/process", "datasources/readers", "datasources/windows",
      "document", "editor", "editor/view", "formats", "formats/windows", "platform", "platform/printer", "printing",
      "printing/panel", "properties", "properties/windows", "render", "views"}},
};

// The layer of `folder`, or null when the table has none.
const Layer* LayerOf(const std::string& folder) {
  for (const Layer& layer : kLayers)
    if (layer.folder == folder) return &layer;
  return nullptr;
}

// The folders whose code may include Qt Widgets. Every other folder (the
// model, the drawing, the data engine, the platform) stays without them.
const Folders kWidgetFolders = {
    "app",         "app/window",      "views",          "datasources/windows", "document/canvas",
    "editor/view", "formats/windows", "printing/panel", "properties/windows"};

struct Include {
  std::string file;  // relative to the source root
  int line;
  std::string header;
  bool quoted;
};

std::string Relative(const fs::path& p) { return fs::relative(p, PLAVIK_SOURCE_ROOT).generic_string(); }

std::vector<Include> IncludesOf(const fs::path& file) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
  std::vector<Include> out;
  std::ifstream in(file);
  std::string text;
  int line = 0;
  std::smatch m;
  while (std::getline(in, text)) {
    ++line;
    if (std::regex_search(text, m, kInclude)) out.push_back({Relative(file), line, m[2].str(), m[1].str() == "\""});
  }
  return out;
}

struct Tree {
  std::map<std::string, std::vector<Include>> byFolder;  // folder -> its files' includes
};

const Tree& SourceTree() {
  static const Tree tree = [] {
    Tree t;
    for (const char* root : kSourceRoots) {
      for (const auto& entry : fs::recursive_directory_iterator(fs::path(PLAVIK_SOURCE_ROOT) / root)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        auto& list = t.byFolder[Relative(entry.path().parent_path())];
        for (Include& inc : IncludesOf(entry.path())) list.push_back(std::move(inc));
      }
    }
    return t;
  }();
  return tree;
}

// The folder of a quoted include named from the source root ("render/x.h"),
// or empty for one beside the including file.
std::string FolderOf(const std::string& header) {
  const auto slash = header.rfind('/');
  return slash == std::string::npos ? std::string() : header.substr(0, slash);
}

bool IsWidgetHeader(const std::string& header) {
  static const std::string kPrefix = "QtWidgets/";
  if (header.rfind(kPrefix, 0) == 0) return true;
  return header.find('/') == std::string::npos && fs::exists(fs::path(QT_WIDGETS_HEADERS) / header);
}

TEST(Layers, TheTreeIsRead) {
  // A wrong root would pass every check below with nothing read.
  const Tree& tree = SourceTree();
  ASSERT_GT(tree.byFolder.size(), 20u);
  EXPECT_TRUE(tree.byFolder.count("render"));
  EXPECT_TRUE(IsWidgetHeader("QWidget"));
  EXPECT_FALSE(IsWidgetHeader("QString"));
}

TEST(Layers, EveryFolderIsInTheTable) {
  for (const auto& [folder, includes] : SourceTree().byFolder)
    EXPECT_TRUE(LayerOf(folder)) << folder << " is not in the layer table";
}

TEST(Layers, TheTableRunsDown) {
  // A folder names only folders below it, so that an include that runs back
  // up cannot be allowed.
  Folders below;
  for (const Layer& layer : kLayers) {
    for (const std::string& target : layer.mayInclude)
      EXPECT_TRUE(below.count(target)) << layer.folder << " may include " << target << ", which is not below it";
    EXPECT_TRUE(below.insert(layer.folder).second) << layer.folder << " is in the table twice";
  }
}

TEST(Layers, AFolderIncludesOnlyTheFoldersItMay) {
  for (const auto& [folder, includes] : SourceTree().byFolder) {
    const Layer* layer = LayerOf(folder);
    if (layer == nullptr) continue;  // reported above
    for (const Include& inc : includes) {
      if (!inc.quoted) continue;
      const std::string target = FolderOf(inc.header);
      if (target.empty() || target == folder) continue;
      EXPECT_TRUE(fs::exists(fs::path(PLAVIK_SOURCE_ROOT) / inc.header))
          << inc.file << ":" << inc.line << ": \"" << inc.header << "\" is not named from the source root";
      EXPECT_TRUE(layer->mayInclude.count(target)) << inc.file << ":" << inc.line << ": " << folder
                                                   << " may not include " << target << " (\"" << inc.header << "\")";
    }
  }
}

TEST(Layers, EveryPermissionIsStillUsed) {
  // A dependency the code no longer has comes out of the table, so that it
  // cannot creep back unnoticed.
  for (const Layer& layer : kLayers) {
    Folders used;
    const auto found = SourceTree().byFolder.find(layer.folder);
    if (found != SourceTree().byFolder.end())
      for (const Include& inc : found->second)
        if (inc.quoted) used.insert(FolderOf(inc.header));
    for (const std::string& target : layer.mayInclude)
      EXPECT_TRUE(used.count(target)) << layer.folder << " no longer includes " << target
                                      << ": take it out of the table";
  }
}

TEST(Layers, OnlyTheWindowsUseQtWidgets) {
  for (const auto& [folder, includes] : SourceTree().byFolder) {
    if (kWidgetFolders.count(folder)) continue;
    for (const Include& inc : includes)
      EXPECT_FALSE(!inc.quoted && IsWidgetHeader(inc.header))
          << inc.file << ":" << inc.line << ": " << folder << " may not use Qt Widgets (<" << inc.header << ">)";
  }
}

TEST(Layers, EveryWidgetFolderStillUsesThem) {
  for (const std::string& folder : kWidgetFolders) {
    bool uses = false;
    const auto found = SourceTree().byFolder.find(folder);
    if (found != SourceTree().byFolder.end())
      for (const Include& inc : found->second) uses = uses || (!inc.quoted && IsWidgetHeader(inc.header));
    EXPECT_TRUE(uses) << folder << " no longer uses Qt Widgets: take it out of the widget folders";
  }
}

// The link lines the build wrote (tests/layers/CMakeLists.txt): per target,
// its direct libraries and its closure through the program's own targets.
struct LinkLine {
  std::vector<std::string> direct;
  std::set<std::string> closure;
};

const std::map<std::string, LinkLine>& LinkLines() {
  static const std::map<std::string, LinkLine> lines = [] {
    std::map<std::string, LinkLine> out;
    std::ifstream in(PLAVIK_LINK_LINES);
    std::string text;
    while (std::getline(in, text)) {
      const auto a = text.find('|');
      const auto b = text.find('|', a + 1);
      if (a == std::string::npos || b == std::string::npos) continue;
      LinkLine& line = out[text.substr(0, a)];
      std::istringstream direct(text.substr(a + 1, b - a - 1)), closure(text.substr(b + 1));
      for (std::string item; direct >> item;) line.direct.push_back(item);
      for (std::string item; closure >> item;) line.closure.insert(item);
    }
    return out;
  }();
  return lines;
}

// The targets that link no widget library, directly or through any target
// they link: the program's core, the document and its canvas core, the
// drawing, the editor's logic, the data engine, the print engine and every
// model of the windows. (Qt's print support, which the printer service
// links, brings Qt's own print dialogs in at run time; no code of ours
// reaches widgets through it.)
const char* const kTargetsWithoutWidgets[] = {
    "core",     "document",   "canvas",  "render",        "editor",   "mergefields", "datasources",
    "printing", "properties", "formats", "formatswizard", "platform", "platformdb",  "datasourcemodels",
};

bool IsWidgetLibrary(const std::string& item) { return item.find("Widgets") != std::string::npos; }

TEST(LinkLayers, TheLinkLinesAreRead) {
  ASSERT_GT(LinkLines().size(), 20u);
  // A widget target shows its widgets, or the checks below would pass on an
  // empty closure.
  ASSERT_TRUE(LinkLines().count("appwindow"));
  EXPECT_TRUE(LinkLines().at("appwindow").closure.count("Qt6::Widgets"));
}

// The windows the main window hosts build on its views, not on the main
// window: none of them links it.
TEST(LinkLayers, TheWindowsLinkNotTheMainWindow) {
  for (const char* target : {"editorview", "printpanel", "datasourcewindows", "formatsui", "propertywindows"}) {
    const auto line = LinkLines().find(target);
    ASSERT_NE(line, LinkLines().end()) << target << " is not a target of the build";
    EXPECT_TRUE(line->second.closure.count("appviews")) << target;
    EXPECT_FALSE(line->second.closure.count("appwindow")) << target << " links the main window";
  }
}

TEST(LinkLayers, TheModelsTheEngineAndTheCoreLinkNoWidgets) {
  for (const char* target : kTargetsWithoutWidgets) {
    const auto line = LinkLines().find(target);
    ASSERT_NE(line, LinkLines().end()) << target << " is not a target of the build";
    for (const std::string& item : line->second.closure)
      EXPECT_FALSE(IsWidgetLibrary(item)) << target << " links " << item;
    // The closure's own targets, for the message: which of them brings widgets.
    for (const std::string& item : line->second.closure) {
      const auto inner = LinkLines().find(item);
      if (inner == LinkLines().end()) continue;
      for (const std::string& lib : inner->second.direct)
        EXPECT_FALSE(IsWidgetLibrary(lib)) << target << " links " << item << ", which links " << lib;
    }
  }
}

}  // namespace
