#pragma once
// How the program writes a text it computed into an edit field.

class QLineEdit;
class QString;

namespace tonfang {

// Writes the text only when it differs, so that the field's change handler
// runs only on a real change. A field the user is not typing in then shows
// the text from its first character, as edit fields do elsewhere: a long
// number would otherwise show only its last digits.
void writeFieldText(QLineEdit *field, const QString &text);

} // namespace tonfang
