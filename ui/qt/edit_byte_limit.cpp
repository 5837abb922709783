#include "ui/qt/edit_byte_limit.h"

#include <QLineEdit>
#include <QValidator>

namespace lumisk::ui {
namespace {

// Refuses an edit that would make the text longer than its limit in UTF-8 bytes.
class ByteLimit final : public QValidator {
public:
    ByteLimit(int bytes, QObject* parent) : QValidator(parent), bytes_(bytes) {}

    State validate(QString& input, int&) const override {
        return input.toUtf8().size() <= bytes_ ? Acceptable : Invalid;
    }

private:
    int bytes_;
};

}  // namespace

void LimitEditBytes(QLineEdit& edit, int bytes) {
    // A UTF-16 unit is at least one byte, so the length limit never refuses what fits.
    edit.setMaxLength(bytes);
    delete edit.validator();
    edit.setValidator(new ByteLimit(bytes, &edit));
}

}  // namespace lumisk::ui
