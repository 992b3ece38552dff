#include "ui/ProgramLook.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStyleFactory>

namespace orvane {
namespace {

// The skin's own colours: window, raised face, field, edge, text, accent.
const QColor kWindow(0x1b, 0x1e, 0x23);
const QColor kFace(0x2a, 0x2d, 0x33);
const QColor kField(0x0f, 0x11, 0x14);
const QColor kFieldAlternate(0x17, 0x1a, 0x1e);
const QColor kEdge(0x45, 0x4a, 0x54);
const QColor kText(0xe8, 0xea, 0xee);
const QColor kTextDim(0x7f, 0x84, 0x8c);
const QColor kAccent(0xff, 0x82, 0x00);
constexpr double kBasePoints = 9;
// The faces the skinned controls name; none is on a Linux desktop, and each
// would fall back to a family of its own.
constexpr const char* kSkinFaces[] = {"Arial Unicode MS", "Verdana Unicode MS", "Tahoma Unicode MS"};

} // namespace

QString ProgramFontFamily() {
    // One sans family installed with the program's dependencies; the
    // desktop's own sans where it is missing.
    static const QString family = [] {
        const QString wanted = QStringLiteral("DejaVu Sans");
        return QFontDatabase::hasFamily(wanted)
                   ? wanted
                   : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

QFont ProgramFont(double points) {
    QFont font(ProgramFontFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

QPalette ProgramPalette() {
    QPalette p;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool off = group == QPalette::Disabled;
        p.setColor(group, QPalette::Window, kWindow);
        p.setColor(group, QPalette::WindowText, off ? kTextDim : kText);
        p.setColor(group, QPalette::Base, off ? kFieldAlternate : kField);
        p.setColor(group, QPalette::AlternateBase, kFieldAlternate);
        p.setColor(group, QPalette::Button, kFace);
        p.setColor(group, QPalette::ButtonText, off ? kTextDim : kText);
        p.setColor(group, QPalette::Text, off ? kTextDim : kText);
        p.setColor(group, QPalette::BrightText, Qt::white);
        p.setColor(group, QPalette::PlaceholderText, kTextDim);
        p.setColor(group, QPalette::ToolTipBase, kFace);
        p.setColor(group, QPalette::ToolTipText, kText);
        p.setColor(group, QPalette::Highlight, off ? kEdge : kAccent);
        p.setColor(group, QPalette::HighlightedText, Qt::black);
        p.setColor(group, QPalette::Light, kEdge.lighter(130));
        p.setColor(group, QPalette::Midlight, kEdge);
        p.setColor(group, QPalette::Mid, kFace);
        p.setColor(group, QPalette::Dark, kField);
        p.setColor(group, QPalette::Shadow, Qt::black);
        p.setColor(group, QPalette::Link, kAccent);
        p.setColor(group, QPalette::LinkVisited, kAccent.darker(130));
    }
    return p;
}

void ApplyProgramLook(QApplication& app) {
    // Fusion draws every control from the palette; the desktop's own style
    // may not (and may be light whatever the palette says).
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    app.setPalette(ProgramPalette());
    app.setFont(ProgramFont(kBasePoints));
    for (const char* face : kSkinFaces)
        QFont::insertSubstitution(QString::fromLatin1(face), ProgramFontFamily());
}

} // namespace orvane
