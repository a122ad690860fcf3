#pragma once
// How tall a label's text really is in the face found on this machine.
class QLabel;

namespace kobalto {

// The height from the label's top down to the lowest row its text inks,
// drawn unclipped at the label's width with its font, format and alignment;
// 0 for a label without text. A substitute face may ink lower than the box
// measured with the original one.
int InkedTextHeight(const QLabel& label);

}  // namespace kobalto
