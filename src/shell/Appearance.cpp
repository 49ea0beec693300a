#include "Appearance.h"

#include "base/ReadAll.h"

#include "runtime/AppError.h"
#include "runtime/FileUtils.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QWidget>

namespace shell {
namespace {

constexpr char kPictureBoxProperty[] = "tenvoriaPictureBox";

// Given as the palette role, not as a colour, so it follows the user's colour scheme.
void useButtonFace(QWidget *widget)
{
    widget->setBackgroundRole(QPalette::Button);
    widget->setAutoFillBackground(true);
}

bool isOptionCheckFrameOrLabel(const QWidget *widget)
{
    return qobject_cast<const QRadioButton *>(widget) || qobject_cast<const QCheckBox *>(widget)
        || qobject_cast<const QGroupBox *>(widget) || qobject_cast<const QLabel *>(widget);
}

} // namespace

void markAsPictureBox(QWidget *widget) { widget->setProperty(kPictureBoxProperty, true); }
bool isPictureBox(const QWidget *widget) { return widget->property(kPictureBoxProperty).toBool(); }

void StyleSheetSkin::load(const QString &path, const QString &section)
{
    Q_UNUSED(section); // a style sheet has no sections
    constexpr qint64 kLargestSkin = 4 * 1024 * 1024;
    const base::FileReading reading = base::readRegularFile(path, kLargestSkin);
    if (reading.error != 0)
        throw runtime::AppError(QStringLiteral("The skin %1 could not be read: %2")
                           .arg(path, base::readingFailureReason(reading.error, kLargestSkin)));
    m_sheet = QString::fromUtf8(reading.bytes);
}

void StyleSheetSkin::applyWindow(QWidget *window)
{
    if (m_options & kPropagateOption)
        QCoreApplication::setAttribute(Qt::AA_UseStyleSheetPropagationInWidgetStyles, true);
    if (m_styledBackgrounds)
        window->setAttribute(Qt::WA_StyledBackground, true);
    if (m_allWindows)
        qApp->setStyleSheet(m_sheet);
    else
        window->setStyleSheet(m_sheet);
}

QString skinFilePath() { return runtime::programFolder() + QStringLiteral("/x/o.cjs"); }

void applySkin(QWidget *window, Skin &skin, const QString &skinFile)
{
    // Only a file counts: a folder of that name is no skin.
    if (!QFileInfo(skinFile).isFile())
        return;
    useButtonFace(window);
    for (QWidget *control : window->findChildren<QWidget *>())
        if (isOptionCheckFrameOrLabel(control) || isPictureBox(control))
            useButtonFace(control);
    skin.load(skinFile, QString());
    skin.setOptions(skin.options() | StyleSheetSkin::kPropagateOption);
    skin.setApplyToAllWindows(true);
    skin.setStyledBackgrounds(true);
    skin.applyWindow(window);
}

StyleSheetSkin &programSkin()
{
    static StyleSheetSkin skin;
    return skin;
}

void applySkin(QWidget *window) { applySkin(window, programSkin()); }

void colourWindow(QWidget *window)
{
    useButtonFace(window);
    for (QWidget *control : window->findChildren<QWidget *>())
        if (isOptionCheckFrameOrLabel(control) && !isPictureBox(control))
            useButtonFace(control);
}

namespace {
QString &windowFamily()
{
    static QString family = QStringLiteral("Arial");
    return family;
}
} // namespace

void useWindowFamily(const QString &family)
{
    if (!family.isEmpty())
        windowFamily() = family;
}

QFont windowFont(qreal points)
{
    QFont font(windowFamily());
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

namespace {

QIcon iconOfSizes(std::initializer_list<int> sizes)
{
    QIcon icon;
    for (int size : sizes) {
        // Read as the PNG it is: otherwise Qt asks every image plugin in turn whether it can read
        // the file, loading each one (and libjpeg) into the process first.
        QImageReader reader(QStringLiteral(":/tenvoria/icons/tenvoria-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage picture = reader.read();
        if (picture.size() == QSize(size, size))
            icon.addPixmap(QPixmap::fromImage(picture));
    }
    if (icon.availableSizes().isEmpty())
        throw runtime::AppError(QStringLiteral("The application icon could not be loaded."));
    return icon;
}

} // namespace

QIcon applicationIcon()
{
    // Decoded once: the application and the main window both take it at start-up.
    static const QIcon small = iconOfSizes({32, 48});
    return small;
}

QIcon applicationIconAllSizes()
{
    static const QIcon all = iconOfSizes({32, 48, 128, 256});
    return all;
}

} // namespace shell
