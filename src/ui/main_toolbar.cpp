#include "ui/main_toolbar.h"

#include <QAction>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace kelvarn {

namespace {

constexpr int kIconSize = 22;

enum class Glyph { Print, Filter, FilterCancel, ExportImport };

// Drawn icons for the buttons the style has no standard picture for.
QIcon drawnIcon(Glyph glyph, const QColor& ink) {
    QPixmap pixmap(kIconSize * 2, kIconSize * 2);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2, 2);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (glyph) {
    case Glyph::Print:
        p.drawRect(QRectF(6.5, 3.5, 9, 5));
        p.drawRoundedRect(QRectF(3.5, 8.5, 15, 7), 1.5, 1.5);
        p.fillRect(QRectF(6.5, 13, 9, 6), Qt::white);
        p.drawRect(QRectF(6.5, 13, 9, 6));
        break;
    case Glyph::Filter:
    case Glyph::FilterCancel: {
        QPainterPath funnel;
        funnel.moveTo(3.5, 4.5);
        funnel.lineTo(18.5, 4.5);
        funnel.lineTo(12.5, 11.5);
        funnel.lineTo(12.5, 18);
        funnel.lineTo(9.5, 16);
        funnel.lineTo(9.5, 11.5);
        funnel.closeSubpath();
        p.drawPath(funnel);
        if (glyph == Glyph::FilterCancel) {
            p.setPen(QPen(QColor(0xc0, 0x20, 0x20), 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(14, 13), QPointF(20, 19));
            p.drawLine(QPointF(20, 13), QPointF(14, 19));
        }
        break;
    }
    case Glyph::ExportImport:
        p.drawRect(QRectF(3.5, 9.5, 15, 9));
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(5.5, 5.5), QPointF(8, 3));
        p.drawLine(QPointF(10.5, 5.5), QPointF(8, 3));
        p.drawLine(QPointF(14, 3), QPointF(14, 13));
        p.drawLine(QPointF(11.5, 10.5), QPointF(14, 13));
        p.drawLine(QPointF(16.5, 10.5), QPointF(14, 13));
        break;
    }
    p.end();
    pixmap.setDevicePixelRatio(2);
    return QIcon(pixmap);
}

} // namespace

MainToolbar buildMainToolbar(QWidget* parent) {
    MainToolbar t;
    t.bar = new QToolBar(QStringLiteral("Záznamy"), parent);
    t.bar->setObjectName(QStringLiteral("ToolBar1"));
    t.bar->setAccessibleName(QStringLiteral("Záznamy"));
    t.bar->setMovable(false);
    t.bar->setIconSize(QSize(kIconSize, kIconSize));
    t.bar->setToolButtonStyle(Qt::ToolButtonIconOnly);

    QStyle* style = parent->style();
    const QColor ink = parent->palette().color(QPalette::WindowText);
    struct Button {
        const char* name;
        const char* hint;
        QIcon icon;
    };
    const Button buttons[] = {
        {"Refresh", "Znovunačtení dat - Refresh (F5)", style->standardIcon(QStyle::SP_BrowserReload)},
        {"FirstRecord", "První záznam (Ctrl+NUM 8)", style->standardIcon(QStyle::SP_MediaSkipBackward)},
        {"PriorRecord", "Předchozí záznam (Ctrl+NUM 4)", style->standardIcon(QStyle::SP_ArrowLeft)},
        {"NextRecord", "Následující záznam (Ctrl+NUM 6)", style->standardIcon(QStyle::SP_ArrowRight)},
        {"LastRecord", "Poslední záznam (Ctrl+NUM 2)", style->standardIcon(QStyle::SP_MediaSkipForward)},
        {"InsertRecord", "Nový záznam (INSERT)", style->standardIcon(QStyle::SP_FileIcon)},
        {"DeleteRecords", "Smazat záznam (Ctrl+DEL)", style->standardIcon(QStyle::SP_TrashIcon)},
        {"SaveRecords", "Uložit záznam (Ctrl+S)", style->standardIcon(QStyle::SP_DialogSaveButton)},
        {"PrintRecords", "Tisk (Ctrl+P)", drawnIcon(Glyph::Print, ink)},
        {"SortASC", "Seřadit vzestupně (F11)", style->standardIcon(QStyle::SP_ArrowUp)},
        {"SortDESC", "Seřadit sestupně (F12)", style->standardIcon(QStyle::SP_ArrowDown)},
        {"Filtr", "Nastavit filtr (Ctrl+F)", drawnIcon(Glyph::Filter, ink)},
        {"FiltrCancel", "Zrušit filtr", drawnIcon(Glyph::FilterCancel, ink)},
        {"ToolButton4", "Export/Import", drawnIcon(Glyph::ExportImport, ink)},
        {"MasterDetail", "Seznam/detail (F9)", QIcon()},
    };
    for (const Button& b : buttons) {
        const QString name = QString::fromLatin1(b.name);
        const QString hint = QString::fromUtf8(b.hint);
        if (name == QLatin1String("Filtr"))
            t.bar->addSeparator();
        QAction* action =
            t.bar->addAction(b.icon, name == QLatin1String("MasterDetail") ? QStringLiteral("F9") : hint);
        action->setObjectName(name);
        action->setToolTip(hint);
        action->setEnabled(false);
        if (QWidget* button = t.bar->widgetForAction(action)) {
            button->setObjectName(name);
            button->setAccessibleName(hint);
        }
        t.actions.insert(name, action);
        t.order << name;
    }
    return t;
}

} // namespace kelvarn
