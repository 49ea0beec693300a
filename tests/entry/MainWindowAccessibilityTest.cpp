// What a screen reader hears in the main window, and the keys its buttons answer to.
#include "entry/MainWindow.h"
#include "ScriptedShellTest.h"

#include "AccessibleWalk.h"
#include "RecordingStartupServices.h"
#include "ScriptedMessageBoxes.h"
#include "automation/WordAutomation.h"
#include "record/SettingsStore.h"
#include "shell/Startup.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace entry;
using namespace record;
using testsupport::AccessibleNode;

namespace {

// The visible label of every field and the caption of every option, written out as the window
// shows them.
const std::map<QString, QString> kFieldAndOptionNames{
    {"txtAppInfoName", "Name:"},
    {"txtAppInfoDateOfBirth", "Date of Birth:"},
    {"txtAppInfoSSN", "SSN:"},
    {"txtAppInfoPhone", "Phone:"},
    {"txtAppInfoCurrentAddress", "Address:"},
    {"txtAppInfoCurrentCity", "City:"},
    {"txtAppInfoCurrentState", "State:"},
    {"txtAppInfoCurrentZipCode", "Zip Code:"},
    {"txtAppInfoCurrentMonthlyPayment", "Monthly Payment or Rent:"},
    {"txtAppInfoCurrentHowLong", "How Long:"},
    {"txtAppInfoPreviousAddress", "Address:"},
    {"txtAppInfoPreviousCity", "City:"},
    {"txtAppInfoPreviousState", "State:"},
    {"txtAppInfoPreviousZipCode", "Zip Code:"},
    {"txtAppInfoPreviousMonthlyPayment", "Monthly Payment or Rent:"},
    {"txtAppInfoPreviousHowLong", "How Long:"},
    {"txtAppInfoEmpInfoCurrentEmployer", "Current Employer:"},
    {"txtAppInfoEmpInfoEmployerAddress", "Employer Address:"},
    {"txtAppInfoEmpInfoHowLong", "How Long:"},
    {"txtAppInfoEmpInfoPhone", "Phone:"},
    {"txtAppInfoEmpInfoEmail", "Email:"},
    {"txtAppInfoEmpInfoFax", "Fax:"},
    {"txtAppInfoEmpInfoCity", "City:"},
    {"txtAppInfoEmpInfoState", "State:"},
    {"txtAppInfoEmpInfoZip", "Zip Code:"},
    {"txtAppInfoEmpInfoPosition", "Position:"},
    {"txtAppInfoEmpInfoAnnualIncome", "Annual Income:"},
    {"txtCoName", "Name:"},
    {"txtCoDateOfBirth", "Date of Birth:"},
    {"txtCoSSN", "SSN:"},
    {"txtCoPhone", "Phone:"},
    {"txtCoCurrentAddress", "Address:"},
    {"txtCoCurrentCity", "City:"},
    {"txtCoCurrentState", "State:"},
    {"txtCoCurrentZipCode", "Zip Code:"},
    {"txtCoCurrentMonthlyPayment", "Monthly Payment or Rent:"},
    {"txtCoCurrentHowLong", "How Long:"},
    {"txtCoPreviousAddress", "Address:"},
    {"txtCoPreviousCity", "City:"},
    {"txtCoPreviousState", "State:"},
    {"txtCoPreviousZipCode", "Zip Code:"},
    {"txtCoPreviousMonthlyPayment", "Monthly Payment or Rent:"},
    {"txtCoPreviousHowLong", "How Long:"},
    {"txtCoEmpInfoCurrentEmployer", "Current Employer:"},
    {"txtCoEmpInfoEmployerAddress", "Employer Address:"},
    {"txtCoEmpInfoHowLong", "How Long:"},
    {"txtCoEmpInfoPhone", "Phone:"},
    {"txtCoEmpInfoEmail", "Email:"},
    {"txtCoEmpInfoFax", "Fax:"},
    {"txtCoEmpInfoCity", "City:"},
    {"txtCoEmpInfoState", "State:"},
    {"txtCoEmpInfoZipCode", "Zip Code:"},
    {"txtCoEmpInfoPosition", "Position:"},
    {"txtCoEmpInfoAnnualIncome", "Annual Income:"},
    {"txtNameOfPerson", "Name of person not residing with you:"},
    {"txtEmerConAddress", "Address:"},
    {"txtEmerConCity", "City:"},
    {"txtEmerConState", "State:"},
    {"txtEmerConZip", "Zip Code:"},
    {"txtEmerConPhone", "Phone:"},
    {"txtRelationship", "Relationship:"},
    {"txtName1", "Name:"},
    {"txtAddress1", "Address:"},
    {"txtPhone1", "Phone:"},
    {"txtName2", "Name 2:"},
    {"txtAddress2", "Address:"},
    {"txtPhone2", "Phone:"},
    {"txtName3", "Name 3:"},
    {"txtAddress3", "Address:"},
    {"txtPhone3", "Phone:"},
    {"optAppInfoCurrentOwn", "Own"}, {"optAppInfoCurrentRent", "Rent"},
    {"optAppInfoPreviousOwn", "Own"}, {"optAppInfoPreviousRent", "Rent"},
    {"optAppInfoEmpInfoHourly", "Hourly"}, {"optAppInfoEmpInfoSalary", "Salary"},
    {"optCoCurrentOwn", "Own"}, {"optCoCurrentRent", "Rent"},
    {"optCoPreviousOwn", "Own"}, {"optCoPreviousRent", "Rent"},
    {"optCoEmpInfoHourly", "Hourly"}, {"optCoEmpInfoSalary", "Salary"},
};

const std::map<QString, QString> kFrameNames{
    {"Frame2", "Current"}, {"Frame3", "House"}, {"Frame4", "Previous"}, {"Frame5", "House"},
    {"Frame6", "Employment Information"}, {"Frame7", "Salary"},
    {"Frame9", "Current"}, {"Frame10", "House"}, {"Frame11", "Previous"}, {"Frame12", "House"},
    {"Frame13", "Employment Information"}, {"Frame14", "Salary"},
    {"Frame15", "Emergency Contact"}, {"Frame16", "References"},
};

const std::map<QString, QString> kButtonNames{
    {"PushButton1", "Start Creating Template"},
    {"PushButton2", "Help"},
    {"PushButton3", "Load Sample/Example Data"},
};

const std::map<QString, QString> kPageNames{
    {"Picture2", "Applicant Information"},
    {"Picture1_2", "Co-applicant Information"},
    {"Picture1_1", "Other Information"},
};

// The engine is never used here; the start-up check only needs one that can be created.
class IdleEngineFactory final : public automation::ApplicationFactory {
    class Idle final : public automation::Application {
    public:
        QString name() const override { return QStringLiteral("Idle"); }
        std::shared_ptr<automation::Documents> documents() override { return nullptr; }
        std::shared_ptr<automation::Document> activeDocument() override { return nullptr; }
        double inchesToPoints(double inches) const override { return inches * 72; }
        void setDisplayAlerts(bool) override {}
        void quit() override {}
    };

public:
    std::shared_ptr<automation::Application> createNew() override { return std::make_shared<Idle>(); }
    std::shared_ptr<automation::Application> getRunning() override { return nullptr; }
};

class MainWindowAccessibilityTest : public testsupport::ScriptedShellTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        store = std::make_unique<record::SettingsStore>(dir.filePath(QStringLiteral("Marrowick.conf")));
        window = std::make_unique<MainWindow>(*store, factory);
        window->setProgramFolder(dir.path());
        ASSERT_TRUE(window->load());
    }
    void TearDown() override { window.reset(); }

    const AccessibleNode *find(const std::vector<AccessibleNode> &nodes, const QString &objectName)
    {
        for (const AccessibleNode &node : nodes)
            if (node.objectName == objectName)
                return &node;
        return nullptr;
    }
    void expectNamed(const std::vector<AccessibleNode> &nodes, const std::map<QString, QString> &expected,
                     QAccessible::Role role)
    {
        for (const auto &[objectName, name] : expected) {
            const AccessibleNode *node = find(nodes, objectName);
            ASSERT_NE(node, nullptr) << objectName.toStdString() << " is not reachable by a screen reader";
            EXPECT_EQ(node->role, role) << objectName.toStdString();
            EXPECT_EQ(node->name.toStdString(), name.toStdString()) << objectName.toStdString();
        }
    }
    static void press(QWidget *target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                      bool autoRepeat = false)
    {
        QKeyEvent down(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
        QApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, modifiers, QString(), autoRepeat);
        QApplication::sendEvent(target, &up);
    }

    QTemporaryDir dir;
    IdleEngineFactory factory;
    std::unique_ptr<record::SettingsStore> store;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowAccessibilityTest, EveryControlIsAnnouncedByItsVisibleLabelAndRole)
{
    const std::vector<AccessibleNode> nodes = testsupport::accessibleTree(window.get());
    ASSERT_FALSE(nodes.empty());
    EXPECT_EQ(nodes.front().role, QAccessible::Window);
    EXPECT_EQ(nodes.front().name, QStringLiteral("Tenvoria"));
    EXPECT_FALSE(nodes.front().interface->text(QAccessible::Description).isEmpty());

    std::map<QString, QString> fields, options;
    for (const auto &[objectName, name] : kFieldAndOptionNames)
        (objectName.startsWith(QLatin1String("opt")) ? options : fields).emplace(objectName, name);
    ASSERT_EQ(fields.size(), 70u);
    ASSERT_EQ(options.size(), 12u);
    expectNamed(nodes, fields, QAccessible::EditableText);
    expectNamed(nodes, options, QAccessible::RadioButton);
    expectNamed(nodes, kButtonNames, QAccessible::PushButton);
    expectNamed(nodes, kFrameNames, QAccessible::Grouping);
    expectNamed(nodes, kPageNames, QAccessible::Client);

    QStringList tabs;
    for (const AccessibleNode &node : nodes)
        if (node.role == QAccessible::PageTab)
            tabs << node.name;
    EXPECT_EQ(tabs, (QStringList{"Applicant Information", "Co-applicant Information", "Other Information"}));

    for (const AccessibleNode &node : nodes) {
        if (testsupport::isOperable(node.role)) {
            EXPECT_FALSE(node.name.trimmed().isEmpty()) << "unnamed control " << node.objectName.toStdString();
        }
    }
}

TEST_F(MainWindowAccessibilityTest, EveryFieldIsLabelledByTheLabelBesideIt)
{
    int labelled = 0;
    for (const auto &[objectName, name] : kFieldAndOptionNames) {
        if (!objectName.startsWith(QLatin1String("txt")))
            continue;
        QLineEdit *field = window->record().text(objectName);
        QAccessibleInterface *node = QAccessible::queryAccessibleInterface(field);
        ASSERT_NE(node, nullptr);
        // The frame around a field counts as a label too; the field's own label is one QLabel.
        QAccessibleInterface *label = nullptr;
        int labels = 0;
        for (const auto &[other, relation] : node->relations(QAccessible::Label)) {
            if (qobject_cast<QLabel *>(other->object())) {
                label = other;
                ++labels;
            }
        }
        ASSERT_EQ(labels, 1) << objectName.toStdString();
        EXPECT_EQ(label->object()->parent(), field->parent()) << objectName.toStdString();
        EXPECT_EQ(label->text(QAccessible::Name).toStdString(), name.toStdString()) << objectName.toStdString();
        ++labelled;
    }
    EXPECT_EQ(labelled, 70);
}

TEST_F(MainWindowAccessibilityTest, EnterOnAFocusedButtonPressesItAsSpaceDoes)
{
    // Help, by Return, by the keypad's Enter and by Space: one box each.
    press(window->helpButton(), Qt::Key_Return);
    ASSERT_EQ(boxes.shown.size(), 1u);
    press(window->helpButton(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(boxes.shown.size(), 2u);
    press(window->helpButton(), Qt::Key_Space);
    EXPECT_EQ(boxes.shown.size(), 3u);

    // A held key presses once; Enter with a modifier is left to shortcuts.
    press(window->helpButton(), Qt::Key_Return, Qt::NoModifier, true);
    press(window->helpButton(), Qt::Key_Return, Qt::ShiftModifier);
    press(window->helpButton(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(boxes.shown.size(), 3u);

    press(window->sampleButton(), Qt::Key_Return);
    EXPECT_EQ(window->record().textOf(QStringLiteral("txtAppInfoName")), QStringLiteral("Dorian Pellwick Jr."));

    int starts = 0;
    window->setStartCommand([&] { ++starts; });
    press(window->startButton(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(starts, 1);
}

TEST_F(MainWindowAccessibilityTest, EnterInAFieldPressesNoButton)
{
    int starts = 0;
    window->setStartCommand([&] { ++starts; });
    press(window->record().text(QStringLiteral("txtAppInfoName")), Qt::Key_Return);
    EXPECT_EQ(starts, 0);
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
