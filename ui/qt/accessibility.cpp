#include "ui/qt/accessibility.h"

#include <QAccessible>

#include "ui/qt/address_edit_accessible.h"
#include "ui/qt/announcer.h"

namespace lumisk::ui {
namespace {

QAccessibleInterface* InterfaceFor(const QString& /*className*/, QObject* object) {
    if (auto* field = qobject_cast<AddressEdit*>(object)) {
        return new AddressEditAccessible(field);
    }
    if (auto* announcer = qobject_cast<Announcer*>(object)) {
        return new AnnouncerAccessible(announcer);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() {
    QAccessible::installFactory(InterfaceFor);
}

}  // namespace lumisk::ui
