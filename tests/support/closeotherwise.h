#pragma once

// Closing a window some other way than by its Close button, which asks
// whether to keep what was typed.

class QWidget;

namespace quillon::test {

// The columns escape (Escape pressed, else the close box) and answer (Yes,
// No, Cancel to the question), a row for each pair.
void addCloseOtherwiseRows();

// Presses Escape in `focus` when escape is set, else closes `window` as its
// close box does.
void closeOtherwise(QWidget* window, QWidget* focus, bool escape);

} // namespace quillon::test
