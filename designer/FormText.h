#pragma once

#include <QByteArray>
#include <QPointF>
#include <QStringList>

// Edits of a form's file text that add or take away whole controls: what cut, copy, paste,
// duplicate and delete do. Controls are named by their keys ("cmdAction(0)", "timMeasure").
// Every function reads the text as a form file and throws FormFileError when it is not one.
namespace FormText {
// The controls with the keys, in the form's order, as a form file of their own: what the
// clipboard holds.
QByteArray extract(const QByteArray &form, const QStringList &keys);
// The form without the controls with the keys.
QByteArray remove(const QByteArray &form, const QStringList &keys);
// The form with the clip's controls added after its own, renamed as pasting renames them and
// moved by `offset` twips, and last in tab order. `added` receives their keys, in order.
QByteArray insert(const QByteArray &form, const QByteArray &clip, QPointF offset,
                  QStringList *added);
// How far a paste moves the clip's controls: not at all, unless the form already holds a
// control at the first one's place; then by `step` twips down and right, as often as it takes.
QPointF pasteOffset(const QByteArray &form, const QByteArray &clip, double step);
} // namespace FormText
