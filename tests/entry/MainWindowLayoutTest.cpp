#include "entry/MainWindowLayout.h"
#include "record/RecordCatalogue.h"

#include <QFont>
#include <QFontMetrics>
#include <QRadioButton>
#include <QSet>
#include <QStyle>

#include <gtest/gtest.h>

using namespace entry;
using namespace record;
using namespace entry::mainwindow;

namespace {

const Layout &layout() { return mainWindowLayout(); }

QRect pixelsOf(const QString &name)
{
    const Placement *p = layout().find(name);
    return p ? toPixels(p->rect) : QRect();
}

TEST(MainWindowLayout, WindowButtonsAndTabControlStandWhereDesignedInPixels)
{
    EXPECT_EQ(toPixels(layout().client).size(), QSize(696, 687));
    EXPECT_EQ(pixelsOf(QStringLiteral("PushButton1")), QRect(8, 8, 680, 27));
    EXPECT_EQ(pixelsOf(QStringLiteral("PushButton2")), QRect(8, 42, 336, 27));
    EXPECT_EQ(pixelsOf(QStringLiteral("PushButton3")), QRect(352, 42, 336, 27));
    EXPECT_EQ(pixelsOf(QStringLiteral("SSTab2")).topLeft(), QPoint(8, 76));
    EXPECT_EQ(pixelsOf(QStringLiteral("SSTab2")).width(), 680);
    EXPECT_EQ(layout().tabCaptions, QStringList({QStringLiteral("Applicant Information"),
                                                 QStringLiteral("Co-applicant Information"),
                                                 QStringLiteral("Other Information")}));
    EXPECT_EQ(layout().firstTab, 2);
    EXPECT_EQ(layout().tabHeight, 520);

    // Tab row and page fit the tab control, and the tab control fits the window.
    const QRect tabs = pixelsOf(QStringLiteral("SSTab2"));
    for (const Placement *page : layout().ofKind(ControlKind::Page)) {
        EXPECT_EQ(toPixels(page->rect).size(), QSize(672, 577));
        EXPECT_LE(layout().tabRowPixels() + 577, tabs.height());
    }
    EXPECT_GE(layout().tabRowPixels(), 34);
    EXPECT_LE(tabs.bottom(), toPixels(layout().client).bottom());
}

TEST(MainWindowLayout, SixteenFramesSeventyLabelsAndEveryControlOfTheRecordOnce)
{
    const auto frames = layout().ofKind(ControlKind::Frame);
    ASSERT_EQ(frames.size(), 16u);
    QStringList captions;
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(frames[i]->name, frameName(i + 1));
        captions << frames[i]->caption;
    }
    EXPECT_EQ(captions.count(QStringLiteral("House")), 4);
    EXPECT_EQ(captions.count(QStringLiteral("Salary")), 2);
    EXPECT_EQ(captions.count(QString()), 2);
    EXPECT_EQ(captions.count(QStringLiteral("Employment Information")), 2);

    const auto labels = layout().ofKind(ControlKind::Label);
    ASSERT_EQ(labels.size(), 70u);
    QSet<int> indices;
    for (const Placement *label : labels) {
        indices.insert(label->index);
        const TextFieldSpec &info = textFields()[label->index];
        EXPECT_EQ(label->field, QLatin1String(info.id)); // Label1(i) names field i of the record
        EXPECT_EQ(label->caption, QLatin1String(info.label));
    }
    EXPECT_EQ(indices.size(), 70);

    QSet<QString> placed;
    for (const Placement *p : layout().ofKind(ControlKind::TextField)) {
        EXPECT_FALSE(placed.contains(p->name)) << qPrintable(p->name);
        placed.insert(p->name);
        EXPECT_EQ(p->rect.height, 375);
    }
    EXPECT_EQ(placed.size(), 70);
    for (const TextFieldSpec &info : textFields())
        EXPECT_TRUE(placed.contains(QLatin1String(info.id))) << info.id;
    EXPECT_EQ(layout().ofKind(ControlKind::Option).size(), 12u);
}

TEST(MainWindowLayout, StatedPositionsAndWidthsHold)
{
    const auto rect = [](const char *name) { return layout().find(QLatin1String(name))->rect; };
    EXPECT_EQ(rect("txtAppInfoName").width, 8115);
    EXPECT_EQ(rect("txtAppInfoEmpInfoCurrentEmployer").left, 1875);
    EXPECT_EQ(rect("txtAppInfoEmpInfoCurrentEmployer").width, 7770);
    EXPECT_EQ(rect("txtCoEmpInfoCurrentEmployer").left, 1755);
    EXPECT_EQ(rect("txtCoEmpInfoCurrentEmployer").width, 7890);
    EXPECT_EQ(rect("txtCoEmpInfoEmployerAddress").width, 5910);
    EXPECT_EQ(rect("txtCoEmpInfoPosition").width, 1590);
    EXPECT_EQ(rect("txtAppInfoCurrentZipCode").width, 1545);
    EXPECT_EQ(rect("txtNameOfPerson").width, 6075);
    EXPECT_EQ(rect("txtEmerConState").width, 825);
    EXPECT_EQ(rect("txtAddress1").width, 3300);

    const Placement *own = layout().find(QStringLiteral("optAppInfoCurrentOwn"));
    const Placement *rent = layout().find(QStringLiteral("optAppInfoCurrentRent"));
    EXPECT_EQ(own->parent, rent->parent);
    EXPECT_EQ(QPoint(own->rect.left, own->rect.top), QPoint(270, 225));
    EXPECT_EQ(QPoint(rent->rect.left, rent->rect.top), QPoint(1170, 225));
    const Placement *house = layout().find(own->parent);
    EXPECT_EQ(house->caption, QStringLiteral("House"));
    EXPECT_EQ(QRect(house->rect.left, house->rect.top, house->rect.width, house->rect.height),
              QRect(180, 1125, 1995, 645));
    const Placement *salary = layout().find(layout().find(QStringLiteral("optCoEmpInfoHourly"))->parent);
    EXPECT_EQ(QRect(salary->rect.left, salary->rect.top, salary->rect.width, salary->rect.height),
              QRect(4140, 2205, 2175, 645));
    EXPECT_EQ(layout().find(salary->parent)->rect.height, 3075);
}

TEST(MainWindowLayout, OnlyTheSecondAndThirdReferenceRowsAreHiddenBelowTheReferencesFrame)
{
    QSet<QString> hidden;
    for (const Placement &p : layout().controls)
        if (!p.shown)
            hidden.insert(p.kind == ControlKind::Label ? p.field + QStringLiteral(" label") : p.name);
    const QSet<QString> fields{QStringLiteral("txtName2"), QStringLiteral("txtAddress2"), QStringLiteral("txtPhone2"),
                               QStringLiteral("txtName3"), QStringLiteral("txtAddress3"), QStringLiteral("txtPhone3")};
    EXPECT_EQ(hidden.size(), 12);
    for (const QString &field : fields) {
        EXPECT_TRUE(hidden.contains(field));
        EXPECT_TRUE(hidden.contains(field + QStringLiteral(" label")));
        EXPECT_EQ(layout().find(field)->parent, QStringLiteral("Picture1_1"));
    }
    EXPECT_EQ(layout().find(QStringLiteral("txtName2"))->rect.top, 3150);
    EXPECT_EQ(layout().find(QStringLiteral("txtPhone3"))->rect.top, 3645);
}

// Labels sit left of their own field on its line, nothing overlaps its neighbours, everything
// stays inside its container, and every caption fits its box in the window font.
TEST(MainWindowLayout, ControlsFitTheirContainersWithoutOverlapAndCaptionsFit)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setBold(true);
    const QFontMetrics metrics(font);
    const auto r = [](const Twips &t) { return QRect(t.left, t.top, t.width, t.height); };

    for (const Placement &p : layout().controls) {
        if (p.kind == ControlKind::Label) {
            const Placement *field = layout().find(p.field);
            EXPECT_EQ(p.parent, field->parent);
            EXPECT_EQ(p.rect.top, field->rect.top);
            EXPECT_LE(p.rect.right(), field->rect.left) << qPrintable(p.name);
            EXPECT_LE(field->rect.left - p.rect.right(), 60);
            EXPECT_LE(metrics.horizontalAdvance(p.caption), toPixels(p.rect).width()) << qPrintable(p.caption);
        }
        if (p.kind == ControlKind::Option) {
            // What the style paints: the indicator, the spacing, the caption.
            QRadioButton option(p.caption);
            const int painted = option.style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &option)
                + option.style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &option)
                + metrics.horizontalAdvance(p.caption);
            EXPECT_LE(painted, toPixels(p.rect).width()) << qPrintable(p.name);
        }
        if (p.parent.isEmpty() || p.kind == ControlKind::Page)
            continue;
        const Placement *parent = layout().find(p.parent);
        EXPECT_TRUE(QRect(0, 0, parent->rect.width, parent->rect.height).contains(r(p.rect))) << qPrintable(p.name);
        for (const Placement &other : layout().controls) {
            if (&other != &p && other.parent == p.parent && other.kind != ControlKind::Page) {
                EXPECT_FALSE(r(p.rect).intersects(r(other.rect))) << qPrintable(p.name + u' ' + other.name);
            }
        }
    }
}

TEST(MainWindowLayout, KeyboardOrderFollowsTheRecordWithOptionsAfterZipCodeAndPositionThenTabsAndButtons)
{
    const QStringList order = layout().tabOrder;
    ASSERT_EQ(order.size(), 70 + 12 + 4);
    QStringList fieldsOnly;
    for (const QString &name : order)
        if (name.startsWith(QLatin1String("txt")))
            fieldsOnly << name;
    QStringList record;
    for (const TextFieldSpec &info : textFields())
        record << QLatin1String(info.id);
    EXPECT_EQ(fieldsOnly, record);

    const auto after = [&](const char *field, const char *first, const char *second) {
        const qsizetype at = order.indexOf(QLatin1String(field));
        ASSERT_GE(at, 0);
        EXPECT_EQ(order.value(at + 1), QLatin1String(first));
        EXPECT_EQ(order.value(at + 2), QLatin1String(second));
    };
    after("txtAppInfoCurrentZipCode", "optAppInfoCurrentOwn", "optAppInfoCurrentRent");
    after("txtAppInfoPreviousZipCode", "optAppInfoPreviousOwn", "optAppInfoPreviousRent");
    after("txtAppInfoEmpInfoPosition", "optAppInfoEmpInfoHourly", "optAppInfoEmpInfoSalary");
    after("txtCoCurrentZipCode", "optCoCurrentOwn", "optCoCurrentRent");
    after("txtCoPreviousZipCode", "optCoPreviousOwn", "optCoPreviousRent");
    after("txtCoEmpInfoPosition", "optCoEmpInfoHourly", "optCoEmpInfoSalary");
    EXPECT_EQ(order.mid(order.size() - 4), QStringList({QStringLiteral("SSTab2"), QStringLiteral("PushButton1"),
                                                        QStringLiteral("PushButton2"), QStringLiteral("PushButton3")}));
}

} // namespace
