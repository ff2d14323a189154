#pragma once

// What assistive technologies learn about a form: each box, button and value
// label is named in words from the design (a box's meaning, a button's task,
// a value label's meaning), a value label's accessible value is its caption,
// and boxes show their meaning as a tooltip.

class QAccessibleEvent;
class QLabel;

namespace marvane {

class FormWindow;

void DescribeForAccessibility(FormWindow& form);

// Tells assistive technologies that `label` now holds an alert (a fault
// message), so a screen reader speaks it.
void AnnounceAlert(QLabel* label);

// Also hands every alert AnnounceAlert raises to `listener` (nullptr: none),
// whether or not an accessibility bridge is there to pass it on; for tests
// on platforms without one.
using AlertListener = void (*)(const QAccessibleEvent& event);
void ListenForAlerts(AlertListener listener);

}  // namespace marvane
