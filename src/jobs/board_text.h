// What the program says about the board it looked for, in both front ends.
#pragma once

#include <QString>

namespace usb {
class BoardClaim;
}

// Why the claim is not held, in a line the user can act on; empty when held.
QString claim_problem(const usb::BoardClaim& claim);

// Which board is used when more than one was seen; empty when one was.
// optionName, when given, is how the user chooses another.
QString claim_choice_note(const usb::BoardClaim& claim, const QString& optionName = QString());
