#include "lists/grid_layout.h"

#include "core/diagnostic_log.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kelvarn {
namespace {

GridColumn column(const char* field, const char* title, int width, bool visible = true,
                  ColumnAlignment alignment = ColumnAlignment::Left) {
    return {QString::fromUtf8(field), QString::fromUtf8(title), width, visible, alignment};
}

QStringList fields(const GridLayout& layout) {
    QStringList out;
    for (const GridColumn& c : layout.columns)
        out << c.field;
    return out;
}

class GridLayoutFiles : public ::testing::Test {
  protected:
    QString appDir() const { return dir_.path() + '/'; }
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
    void write(const QString& path, const QByteArray& data) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    QTemporaryDir dir_;
};

TEST(GridLayoutPath, IsProgramFolderUserAndGridSuffix) {
    EXPECT_EQ(gridLayoutPath("/opt/kelvarn/", "administrator", "DBGridFAV"),
              QStringLiteral("/opt/kelvarn/administrator_save_DBGridFAV.sav"));
    EXPECT_EQ(gridLayoutPath("/opt/kelvarn/", "Novák", "DBGridHlavniKniha"),
              QStringLiteral("/opt/kelvarn/Novák_save_DBGridHlavniKniha.sav"));
    EXPECT_EQ(gridLayoutPath("/opt/kelvarn/", "", "DBGridZbozi"),
              QStringLiteral("/opt/kelvarn/_save_DBGridZbozi.sav"));
    // A user name can never reach another folder.
    EXPECT_EQ(gridLayoutPath("/opt/kelvarn/", "../../etc/x", "DBGridFAV"),
              QStringLiteral("/opt/kelvarn/.._.._etc_x_save_DBGridFAV.sav"));
}

TEST_F(GridLayoutFiles, RoundTripKeepsOrderTitlesWidthsVisibilityAndAlignment) {
    GridLayout layout;
    layout.columns = {
        column("zbyva_uhradit", "Zbývá uhradit", 120, true, ColumnAlignment::Right),
        column("id", "ID", 30, false),
        column("cislo_dokladu", "Číslo\tdokladu \\ \"nové\"\n2. řádek", 95, true, ColumnAlignment::Center),
        column("odb_nazev_firmy", "", 0),
    };
    QString error;
    ASSERT_TRUE(saveGridLayout(path("u_save_DBGridFAV.sav"), layout, &error)) << error.toStdString();
    const std::optional<GridLayout> loaded = loadGridLayout(path("u_save_DBGridFAV.sav"), &error);
    ASSERT_TRUE(loaded) << error.toStdString();
    EXPECT_EQ(*loaded, layout);

    // Saving again replaces the file rather than adding to it.
    layout.columns.removeFirst();
    ASSERT_TRUE(saveGridLayout(path("u_save_DBGridFAV.sav"), layout));
    EXPECT_EQ(loadGridLayout(path("u_save_DBGridFAV.sav")), layout);

    GridLayout empty;
    ASSERT_TRUE(saveGridLayout(path("empty.sav"), empty));
    EXPECT_EQ(loadGridLayout(path("empty.sav")), empty);
}

TEST_F(GridLayoutFiles, RefusesForeignNewerAndDamagedFilesNamingTheFault) {
    struct BadCase {
        const char* name;
        QByteArray data;
        const char* expected; // part of the error text
    };
    const BadCase cases[] = {
        {"foreign", "object DBGridFAV: TDBGrid\r\n  Columns = <\r\n",
         "není rozložení mřížky programu Kelvarn"},
        {"empty", "", "není rozložení mřížky programu Kelvarn"},
        {"binary", QByteArray("\x00\x01\x02", 3), "není rozložení mřížky programu Kelvarn"},
        {"newer", "KELVARN-GRID 2\nid\tID\t30\t1\tleft\n", "ve verzi 2; tento program čte jen verzi 1"},
        {"fields", "KELVARN-GRID 1\nid\tID\t30\t1\tleft\ndatum\tDatum\t30\n", "řádek 3: má 3 polí"},
        {"width", "KELVARN-GRID 1\nid\tID\twide\t1\tleft\n", "řádek 2: má neplatnou šířku \"wide\""},
        {"negative", "KELVARN-GRID 1\nid\tID\t-5\t1\tleft\n", "řádek 2: má neplatnou šířku"},
        {"visible", "KELVARN-GRID 1\nid\tID\t30\tano\tleft\n", "řádek 2: má neplatnou viditelnost"},
        {"align", "KELVARN-GRID 1\nid\tID\t30\t1\tjustify\n", "řádek 2: má neplatné zarovnání"},
        {"nofield", "KELVARN-GRID 1\n\tID\t30\t1\tleft\n", "řádek 2: nemá název sloupce"},
        {"escape", "KELVARN-GRID 1\nid\tID\\x\t30\t1\tleft\n", "řádek 2: obsahuje neplatnou sekvenci"},
        {"twice", "KELVARN-GRID 1\nid\tID\t30\t1\tleft\nID\tId\t30\t1\tleft\n",
         "řádek 3: uvádí sloupec ID podruhé"},
        {"utf8", "KELVARN-GRID 1\nid\t\xe8\xed\x73lo\t30\t1\tleft\n", "není platný text v kódování UTF-8"},
    };
    for (const BadCase& c : cases) {
        const QString file = path(c.name);
        write(file, c.data);
        QString error;
        EXPECT_FALSE(loadGridLayout(file, &error)) << c.name;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.expected))) << c.name << ": " << error.toStdString();
        EXPECT_TRUE(error.contains(file)) << c.name;
    }
}

TEST_F(GridLayoutFiles, AcceptsCrLfLineEndsAndBlankLines) {
    write(path("crlf"), "KELVARN-GRID 1\r\nid\tID\t30\t1\tleft\r\n\r\ndatum\tDatum\t80\t0\tright\r\n");
    const std::optional<GridLayout> loaded = loadGridLayout(path("crlf"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(fields(*loaded), QStringList({"id", "datum"}));
    EXPECT_FALSE(loaded->columns[1].visible);
}

TEST_F(GridLayoutFiles, SaveRefusesWhatCouldNotBeReadBackAndUnwritableFolders) {
    GridLayout duplicate;
    duplicate.columns = {column("id", "ID", 30), column("ID", "Id", 30)};
    GridLayout nameless;
    nameless.columns = {column("", "ID", 30)};
    GridLayout good;
    good.columns = {column("id", "ID", 30)};
    const std::pair<QString, GridLayout> cases[] = {
        {path("dup.sav"), duplicate},
        {path("nameless.sav"), nameless},
        {dir_.filePath("missing/folder/x.sav"), good},
    };
    for (const auto& [file, layout] : cases) {
        QString error;
        EXPECT_FALSE(saveGridLayout(file, layout, &error)) << file.toStdString();
        EXPECT_TRUE(error.startsWith("Rozložení mřížky nelze uložit do souboru " + file))
            << error.toStdString();
        EXPECT_FALSE(QFile::exists(file));
    }
}

TEST(ApplyGridLayout, FitsASavedLayoutToTheColumnsOfToday) {
    GridLayout saved;
    saved.columns = {
        column("datum", "Den", 90, true, ColumnAlignment::Center),
        column("stary_sloupec", "Pryč", 50),
        column("id", "ID", 30, false),
        column("popis", "Popis operace", 200),
    };
    struct FitCase {
        const char* what;
        QStringList current;
        QStringList expectedFields;
    };
    const FitCase cases[] = {
        {"removed column dropped, new ones appended",
         {"id", "popis", "datum", "prijem_danovy", "vydaj_danovy"},
         {"datum", "id", "popis", "prijem_danovy", "vydaj_danovy"}},
        {"all gone", {"novy"}, {"novy"}},
        {"no columns", {}, {}},
        {"driver spells names upper-case", {"ID", "DATUM", "POPIS"}, {"DATUM", "ID", "POPIS"}},
    };
    for (const FitCase& c : cases) {
        const GridLayout fitted = applyGridLayout(saved, c.current);
        EXPECT_EQ(fields(fitted), c.expectedFields) << c.what;
    }

    const GridLayout fitted = applyGridLayout(saved, {"id", "popis", "datum", "prijem_danovy"});
    EXPECT_EQ(fitted.columns[0], column("datum", "Den", 90, true, ColumnAlignment::Center));
    EXPECT_EQ(fitted.columns[1], column("id", "ID", 30, false));
    // A new column shows, with the grid's own title and width.
    EXPECT_EQ(fitted.columns[3], column("prijem_danovy", "", 0, true));
    EXPECT_EQ(fitted.indexOf("PRIJEM_DANOVY"), 3);
    EXPECT_EQ(fitted.indexOf("stary_sloupec"), -1);
}

TEST_F(GridLayoutFiles, RestoreAndSaveLogOnlyRealFailures) {
    GridLayout fav;
    fav.columns = {column("cislo_dokladu", "Číslo", 100), column("id", "ID", 30, false)};
    GridLayout zbozi;
    zbozi.columns = {column("kod_zbozi", "Kód", 60)};

    DiagnosticLog log;
    ASSERT_TRUE(saveGridLayouts(appDir(), "novak", {{"DBGridFAV", fav}, {"DBGridZbozi", zbozi}}, log));
    EXPECT_TRUE(log.text().isEmpty());
    write(gridLayoutPath(appDir(), "novak", "DBGridPPD"), "garbage\n");

    const QList<GridColumns> grids = {
        {"DBGridFAV", {"id", "cislo_dokladu", "zbyva_uhradit"}},
        {"DBGridPPD", {"id"}},
        {"DBGridVPD", {"id"}}, // never saved: the built-in columns, silently
        {"DBGridZbozi", {"kod_zbozi"}},
    };
    const auto restored = restoreGridLayouts(appDir(), "novak", grids, log);
    ASSERT_EQ(restored.size(), 4u);
    ASSERT_TRUE(restored[0]);
    EXPECT_EQ(fields(*restored[0]), QStringList({"cislo_dokladu", "id", "zbyva_uhradit"}));
    EXPECT_FALSE(restored[1]);
    EXPECT_FALSE(restored[2]);
    ASSERT_TRUE(restored[3]);
    EXPECT_EQ(*restored[3], zbozi);
    // Only the damaged file is reported, in the log's own entry form.
    EXPECT_TRUE(
        log.text().startsWith("\r\n-----\r\nSoubor " + gridLayoutPath(appDir(), "novak", "DBGridPPD")))
        << log.text().toStdString();
    EXPECT_EQ(log.text().count("-----"), 1);

    // Another database user has own files and starts with the built-in columns.
    DiagnosticLog other;
    const auto fresh = restoreGridLayouts(appDir(), "svoboda", grids, other);
    for (const auto& layout : fresh)
        EXPECT_FALSE(layout);
    EXPECT_TRUE(other.text().isEmpty());

    DiagnosticLog failing;
    EXPECT_FALSE(saveGridLayouts(appDir() + "missing/", "novak", {{"DBGridFAV", fav}, {"DBGridZbozi", zbozi}},
                                 failing));
    EXPECT_EQ(failing.text().count("\r\n-----\r\nRozložení mřížky nelze uložit"), 2);
}

TEST(GridTables, NameFourteenGridsInBothOrders) {
    QStringList restoreOrder;
    for (const GridInfo& grid : kGrids)
        restoreOrder << grid.grid;
    QStringList saveOrder;
    for (const char* grid : kGridSaveOrder)
        saveOrder << grid;
    EXPECT_EQ(restoreOrder.size(), 14);
    EXPECT_EQ(restoreOrder.first(), "DBGridFAV");
    EXPECT_EQ(saveOrder.first(), "DBGridDPHvstup");
    restoreOrder.sort();
    saveOrder.sort();
    EXPECT_EQ(restoreOrder, saveOrder);
}

} // namespace
} // namespace kelvarn
