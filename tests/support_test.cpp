// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The support layer on real files: the pixmap search path, image widgets and
// pixbufs loaded along it, their two diagnostics, and accessible-action
// descriptions.
//
// The search path is process-wide and only grows, so each suite that depends
// on its contents runs in a process of its own (see support.cmake):
//   PixmapWithoutDirectory  no directory is ever added;
//   PixmapSearch            two directories, then one with a very long path;
//   PixmapWarningCatalogue  the warning looked up in a catalogue of the test's;
//   AtkActionDescription    no search path, no display.

#include <gtk/gtk.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "guards.h"
#include "i18n.h"
#include "support.h"

namespace fs = std::filesystem;

namespace {

const char kNotFoundFormat[] = "Couldn't find pixmap file: %s";

// Set once a test of this process adds a search directory: the suite that
// needs an empty search path skips when it would not get one.
bool g_bDirectoryAdded = false;

void AddDirectory(const fs::path &dir)
{
    g_bDirectoryAdded = true;
    add_pixmap_directory(dir.c_str());
}

std::string NotFoundWarning(const std::string &name)
{
    return std::string("Couldn't find pixmap file: ") + name;
}

// A directory of the test's own under the system's temporary directory,
// removed with everything in it at the end.
class TempTree {
public:
    TempTree()
    {
        GError *error = NULL;
        gchar *dir = g_dir_make_tmp("tolka-support-XXXXXX", &error);
        if (!dir) {
            ADD_FAILURE() << "no temporary directory: " << error->message;
            g_error_free(error);
            return;
        }
        m_root = dir;
        g_free(dir);
    }
    ~TempTree()
    {
        std::error_code ignored;
        if (!m_root.empty())
            fs::remove_all(m_root, ignored);
    }
    TempTree(const TempTree &) = delete;
    TempTree &operator=(const TempTree &) = delete;

    const fs::path &root() const { return m_root; }

private:
    fs::path m_root;
};

// Writes a real PNG of the given size, filled with one colour.
void WritePng(const fs::path &path, int nWidth, int nHeight)
{
    fs::create_directories(path.parent_path());
    GdkPixbuf *pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, nWidth, nHeight);
    ASSERT_NE(pixbuf, nullptr);
    gdk_pixbuf_fill(pixbuf, 0x3366ccff);
    GError *error = NULL;
    gboolean bSaved = gdk_pixbuf_save(pixbuf, path.c_str(), "png", &error, NULL);
    g_object_unref(pixbuf);
    if (!bSaved) {
        std::string message = error ? error->message : "";
        if (error)
            g_error_free(error);
        FAIL() << "cannot write " << path << ": " << message;
    }
}

void WriteText(const fs::path &path, const std::string &text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

// The loader's own message for a path, to compare the diagnostic with.
std::string LoaderMessage(const fs::path &path)
{
    GError *error = NULL;
    GdkPixbuf *pixbuf = gdk_pixbuf_new_from_file(path.c_str(), &error);
    if (pixbuf) {
        g_object_unref(pixbuf);
        return "(loaded)";
    }
    std::string message = error->message;
    g_error_free(error);
    return message;
}

std::string LoadFailure(const std::string &path)
{
    return "Failed to load pixbuf file: " + path + ": " + LoaderMessage(path) + "\n";
}

// Owns a widget returned floating by create_pixmap.
struct WidgetRef {
    explicit WidgetRef(GtkWidget *widget) : p(widget)
    {
        if (p)
            g_object_ref_sink(p);
    }
    ~WidgetRef()
    {
        if (p)
            g_object_unref(p);
    }
    WidgetRef(const WidgetRef &) = delete;
    WidgetRef &operator=(const WidgetRef &) = delete;
    GtkWidget *p;
};

// Owns the one reference create_pixbuf hands over.
struct PixbufRef {
    explicit PixbufRef(GdkPixbuf *pixbuf) : p(pixbuf) {}
    ~PixbufRef()
    {
        if (p)
            g_object_unref(p);
    }
    PixbufRef(const PixbufRef &) = delete;
    PixbufRef &operator=(const PixbufRef &) = delete;
    GdkPixbuf *p;
};

std::vector<std::string> Texts(const LogCapture &log)
{
    std::vector<std::string> texts;
    for (const LogCapture::Message &message : log.messages()) {
        EXPECT_EQ(message.level, G_LOG_LEVEL_WARNING) << message.text;
        texts.push_back(message.text);
    }
    return texts;
}

using Texts_t = std::vector<std::string>;

// An empty or null name is no request: no message, nothing looked up (where
// directories exist, "" joined behind one would name the directory itself).
void ExpectEmptyNamesSilent()
{
    for (const char *name : {(const char *)NULL, ""}) {
        SCOPED_TRACE(name ? "empty name" : "null name");
        LogCapture log;
        StderrCapture err;
        WidgetRef image(create_pixmap(NULL, name));
        ASSERT_TRUE(GTK_IS_IMAGE(image.p));
        EXPECT_EQ(gtk_image_get_storage_type(GTK_IMAGE(image.p)), GTK_IMAGE_EMPTY);
        EXPECT_EQ(create_pixbuf(name), nullptr);
        EXPECT_TRUE(log.messages().empty());
        EXPECT_EQ(err.text(), "");
    }
}

// ---------------------------------------------------------------------------
// No directory was ever added: every name is missing.

class PixmapWithoutDirectory : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (g_bDirectoryAdded)
            GTEST_SKIP() << "needs a process whose search path is empty";
        RequireGtk();
    }
};

TEST_F(PixmapWithoutDirectory, EveryNameIsMissingWithAWarning)
{
    // Even an absolute path of a file that exists is joined behind a
    // directory, never used on its own: with no directory it is not found.
    TempTree tree;
    fs::path real = tree.root() / "real.png";
    WritePng(real, 4, 3);
    for (std::string name : {std::string("tolka.png"), real.string()}) {
        SCOPED_TRACE(name);
        LogCapture log;
        WidgetRef image(create_pixmap(NULL, name.c_str()));
        ASSERT_TRUE(GTK_IS_IMAGE(image.p));
        EXPECT_EQ(gtk_image_get_storage_type(GTK_IMAGE(image.p)), GTK_IMAGE_EMPTY);
        PixbufRef pixbuf(create_pixbuf(name.c_str()));
        EXPECT_EQ(pixbuf.p, nullptr);
        EXPECT_EQ(Texts(log), Texts_t({NotFoundWarning(name), NotFoundWarning(name)}));
    }
}

TEST_F(PixmapWithoutDirectory, EmptyOrNullNameIsSilent)
{
    ExpectEmptyNamesSilent();
}

// ---------------------------------------------------------------------------
// Two directories, "first" added before "last", each with its own files:
//   first/  both.png (8x2)  only-first.png (3x3)
//   last/   both.png (5x4)  text.png (not an image)  folder.png/ (a directory)
//           sub/inner.png (6x1)
// and, added after them, a directory whose path is about 3000 bytes long:
//   deep/.../  deep.png (2x7)  deep-text.png (not an image)

class PixmapSearch : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_tree = new TempTree;
        const fs::path &root = s_tree->root();
        WritePng(root / "first" / "both.png", 8, 2);
        WritePng(root / "first" / "only-first.png", 3, 3);
        WritePng(root / "last" / "both.png", 5, 4);
        WriteText(root / "last" / "text.png", "not an image\n");
        fs::create_directories(root / "last" / "folder.png");
        WritePng(root / "last" / "sub" / "inner.png", 6, 1);

        fs::path deep = root;
        while (deep.string().size() < 3000)
            deep /= std::string(200, 'd');
        s_deep = new fs::path(deep);
        WritePng(deep / "deep.png", 2, 7);
        WriteText(deep / "deep-text.png", "still not an image\n");

        AddDirectory(root / "first");
        AddDirectory(root / "last");
        AddDirectory(deep);
    }
    static void TearDownTestSuite()
    {
        delete s_deep;
        delete s_tree;
        s_deep = NULL;
        s_tree = NULL;
    }
    void SetUp() override { RequireGtk(); }

    static std::string Last() { return (s_tree->root() / "last").string(); }

    static TempTree *s_tree;
    static fs::path *s_deep;
};

TempTree *PixmapSearch::s_tree = NULL;
fs::path *PixmapSearch::s_deep = NULL;

struct FoundCase {
    const char *name;
    int nWidth;   // size of the image that must be chosen
    int nHeight;
};

// Each row names an image that some directory holds; the size tells which
// copy was taken.
const FoundCase kFound[] = {
    {"both.png", 5, 4},         // in both: the directory added last wins
    {"only-first.png", 3, 3},   // the search goes on past directories without it
    {"/both.png", 5, 4},        // a leading "/" still joins behind the directory
    {"sub/inner.png", 6, 1},    // a relative path below a directory
    {"deep.png", 2, 7},         // in the directory with the very long path
};

TEST_F(PixmapSearch, ImageIsLoadedFromTheFirstDirectoryThatHasIt)
{
    for (const FoundCase &row : kFound) {
        SCOPED_TRACE(row.name);
        LogCapture log;
        StderrCapture err;

        PixbufRef pixbuf(create_pixbuf(row.name));
        ASSERT_NE(pixbuf.p, nullptr);
        EXPECT_EQ(gdk_pixbuf_get_width(pixbuf.p), row.nWidth);
        EXPECT_EQ(gdk_pixbuf_get_height(pixbuf.p), row.nHeight);
        // The caller's reference is the only one.
        EXPECT_EQ(G_OBJECT(pixbuf.p)->ref_count, 1u);

        WidgetRef image(create_pixmap(NULL, row.name));
        ASSERT_TRUE(GTK_IS_IMAGE(image.p));
        ASSERT_EQ(gtk_image_get_storage_type(GTK_IMAGE(image.p)), GTK_IMAGE_PIXBUF);
        GdkPixbuf *shown = gtk_image_get_pixbuf(GTK_IMAGE(image.p));
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(gdk_pixbuf_get_width(shown), row.nWidth);
        EXPECT_EQ(gdk_pixbuf_get_height(shown), row.nHeight);

        EXPECT_TRUE(log.messages().empty());
        EXPECT_EQ(err.text(), "");
    }
}

TEST_F(PixmapSearch, EmptyOrNullNameIsSilent)
{
    ExpectEmptyNamesSilent();
}

TEST_F(PixmapSearch, MissingNameIsWarnedInFull)
{
    // Far longer than any path the system accepts: the warning still
    // carries every byte of it.
    std::string longName = std::string(4990, 'x') + "-long.png";
    ASSERT_EQ(longName.size(), 4999u);
    for (const std::string &name : {std::string("missing.png"), std::string("/missing.png"),
                                    std::string("BOTH.png"), longName}) {
        SCOPED_TRACE(name.substr(0, 40));
        LogCapture log;
        StderrCapture err;
        PixbufRef pixbuf(create_pixbuf(name.c_str()));
        EXPECT_EQ(pixbuf.p, nullptr);
        WidgetRef image(create_pixmap(NULL, name.c_str()));
        ASSERT_TRUE(GTK_IS_IMAGE(image.p));
        EXPECT_EQ(gtk_image_get_storage_type(GTK_IMAGE(image.p)), GTK_IMAGE_EMPTY);
        EXPECT_EQ(Texts(log), Texts_t({NotFoundWarning(name), NotFoundWarning(name)}));
        EXPECT_EQ(err.text(), "");
    }
}

struct UnloadableCase {
    const char *name;
    bool bDeep;          // found in the long directory, else in "last"
    const char *joined;  // what follows the directory in the path printed
};

// Found, so no warning, but not loadable: the path printed is the directory
// and the name joined by "/", also when the name brings its own "/".
const UnloadableCase kUnloadable[] = {
    {"text.png", false, "/text.png"},
    {"folder.png", false, "/folder.png"},   // a directory counts as found
    {"/folder.png", false, "//folder.png"},
    {"deep-text.png", true, "/deep-text.png"},
};

TEST_F(PixmapSearch, UnloadableFileIsReportedOnStandardErrorWithItsPath)
{
    for (const UnloadableCase &row : kUnloadable) {
        SCOPED_TRACE(row.name);
        std::string path = (row.bDeep ? s_deep->string() : Last()) + row.joined;
        std::string expected = LoadFailure(path);
        LogCapture log;
        StderrCapture err;
        EXPECT_EQ(create_pixbuf(row.name), nullptr);
        EXPECT_EQ(err.text(), expected);
        EXPECT_TRUE(log.messages().empty());
    }
}

TEST_F(PixmapSearch, UnloadableFileStillGivesAnImageWidgetWithoutWarning)
{
    // What the widget shows is the toolkit's choice; ours is not to warn.
    for (const char *name : {"text.png", "folder.png"}) {
        SCOPED_TRACE(name);
        LogCapture log;
        WidgetRef image(create_pixmap(NULL, name));
        ASSERT_TRUE(GTK_IS_IMAGE(image.p));
        EXPECT_TRUE(log.messages().empty());
    }
}

// ---------------------------------------------------------------------------
// The warning is a catalogue text of the domain "locx": with a catalogue that
// translates it, the translation is the format.

// Writes a GNU message catalogue with the given (original, translation)
// pairs, which must be sorted by original (the lookup searches them by
// halves; there is no hash table).
void WriteCatalogue(const fs::path &path,
                    const std::vector<std::pair<std::string, std::string>> &entries)
{
    fs::create_directories(path.parent_path());
    const uint32_t n = entries.size();
    const uint32_t nOriginals = 28, nTranslations = nOriginals + 8 * n;
    uint32_t offset = nTranslations + 8 * n;
    std::vector<uint32_t> words = {0x950412de, 0, n, nOriginals, nTranslations, 0, offset};
    std::string strings;
    for (int nSide = 0; nSide < 2; nSide++) {
        for (const auto &entry : entries) {
            const std::string &text = nSide == 0 ? entry.first : entry.second;
            words.push_back(text.size());
            words.push_back(offset + strings.size());
            strings += text;
            strings += '\0';
        }
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(words.data()), words.size() * 4);
    out.write(strings.data(), strings.size());
}

TEST(PixmapWarningCatalogue, WarningUsesTheTranslatedFormat)
{
    LocaleGuard locale("fr_FR.UTF-8");
    ASSERT_TRUE(locale.ok()) << "fr_FR.UTF-8 is missing: scripts/test.sh generates it";
    // LANGUAGE would name catalogues before the locale's.
    g_unsetenv("LANGUAGE");

    TempTree tree;
    WriteCatalogue(tree.root() / "fr" / "LC_MESSAGES" / "locx.mo",
                   {{"", "Content-Type: text/plain; charset=UTF-8\n"},
                    {kNotFoundFormat, "Fichier d'image introuvable : « %s »"}});
    ASSERT_NE(bindtextdomain(TOLKA_DOMAIN, tree.root().c_str()), nullptr);
    // The default domain is another one: the lookup must name "locx".
    textdomain("tolka-support-test");

    LogCapture log;
    EXPECT_EQ(create_pixbuf("absent.png"), nullptr);
    EXPECT_EQ(Texts(log), Texts_t({"Fichier d'image introuvable : « absent.png »"}));
}

// ---------------------------------------------------------------------------
// Accessible actions: a small object with four actions, "press", "activate",
// "press" and one without a name. It keeps the description pointers it is
// given (the tests pass literals) and starts with none.

const char *const kActionNames[] = {"press", "activate", "press", NULL};
const int kActions = G_N_ELEMENTS(kActionNames);

struct TestAction {
    GObject parent;
    const gchar *descriptions[kActions];
};

struct TestActionClass {
    GObjectClass parent;
};

void test_action_iface_init(AtkActionIface *iface);

G_DEFINE_TYPE_WITH_CODE(TestAction, test_action, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, test_action_iface_init))

void test_action_class_init(TestActionClass *) {}
void test_action_init(TestAction *) {}

void test_action_iface_init(AtkActionIface *iface)
{
    iface->get_n_actions = [](AtkAction *) -> gint { return kActions; };
    iface->get_name = [](AtkAction *, gint i) -> const gchar * { return kActionNames[i]; };
    iface->set_description = [](AtkAction *action, gint i, const gchar *description) -> gboolean {
        reinterpret_cast<TestAction *>(action)->descriptions[i] = description;
        return TRUE;
    };
    iface->get_description = [](AtkAction *action, gint i) -> const gchar * {
        return reinterpret_cast<TestAction *>(action)->descriptions[i];
    };
}

struct DescriptionCase {
    const char *name;
    const char *expected[kActions];  // the descriptions afterwards
};

const DescriptionCase kDescriptions[] = {
    {"press", {"new", NULL, "new", NULL}},  // every action of that name
    {"activate", {NULL, "new", NULL, NULL}},
    {"Press", {NULL, NULL, NULL, NULL}},    // case counts
    {"pres", {NULL, NULL, NULL, NULL}},     // a prefix is not the name
    {"click", {NULL, NULL, NULL, NULL}},    // no such action
    {"", {NULL, NULL, NULL, NULL}},         // nor is the nameless one ""
};

TEST(AtkActionDescription, DescribesExactlyTheActionsOfThatName)
{
    for (const DescriptionCase &row : kDescriptions) {
        SCOPED_TRACE(row.name);
        GObject *object = G_OBJECT(g_object_new(test_action_get_type(), NULL));
        AtkAction *action = ATK_ACTION(object);
        glade_set_atk_action_description(action, row.name, "new");
        for (int i = 0; i < kActions; i++)
            EXPECT_STREQ(atk_action_get_description(action, i), row.expected[i]) << "action " << i;
        g_object_unref(object);
    }
}

}  // namespace
