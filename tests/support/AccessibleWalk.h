#pragma once
// Walks a window the way a screen reader sees it (QAccessible), so that tests can check the
// names and roles each control announces.
#include <QAccessible>
#include <QString>
#include <QWidget>

#include <vector>

namespace testsupport {

struct AccessibleNode {
    QAccessible::Role role;
    QString name;
    QString objectName; // empty for parts without an object of their own, such as a tab
    QObject *object;
    QAccessibleInterface *interface;
};

inline void collectAccessible(QAccessibleInterface *node, std::vector<AccessibleNode> &into, int depth = 0)
{
    if (!node || depth > 32)
        return;
    QObject *object = node->object();
    into.push_back({node->role(), node->text(QAccessible::Name), object ? object->objectName() : QString(),
                    object, node});
    for (int i = 0; i < node->childCount(); ++i)
        collectAccessible(node->child(i), into, depth + 1);
}

inline std::vector<AccessibleNode> accessibleTree(QWidget *window)
{
    std::vector<AccessibleNode> nodes;
    collectAccessible(QAccessible::queryAccessibleInterface(window), nodes);
    return nodes;
}

// Roles a user operates; each of them must be announced with a name.
inline bool isOperable(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::EditableText:
    case QAccessible::RadioButton:
    case QAccessible::CheckBox:
    case QAccessible::PageTab:
    case QAccessible::ScrollBar:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
        return true;
    default:
        return false;
    }
}

} // namespace testsupport
