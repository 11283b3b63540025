#pragma once

#include "ControlRegistry.h"
#include "Form.h"
#include "FormFile.h"
#include "formhelpers/FormHelperControls.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <memory>

// Test forms carrying the form helpers, loaded through a form file as the program loads them.
namespace HelperForms {
// A control entry of a form file: class, name and placement; with a bag it is loaded from it,
// without one it is a new instance.
inline QJsonObject control(const QString &className, const QString &name,
                           const std::optional<QJsonObject> &bag = QJsonObject(),
                           const QJsonObject &placement = {})
{
    QJsonObject c = placement;
    c.insert("class", className);
    c.insert("name", name);
    if (bag)
        c.insert("bag", *bag);
    return c;
}

// Loads frmTest: frameless, so that its outer size is its client size, 3000 x 1500 twips
// unless properties say otherwise.
inline std::unique_ptr<Form> load(const QJsonArray &controls, bool userMode = true,
                                  const QJsonObject &properties = {})
{
    QJsonObject formProperties{{"borderstyle", 0}, {"clientwidth", 3000}, {"clientheight", 1500}};
    for (auto it = properties.begin(); it != properties.end(); ++it)
        formProperties.insert(it.key(), it.value());
    const QJsonObject file{
        {"form", "frmTest"}, {"properties", formProperties}, {"controls", controls}};
    ControlRegistry registry;
    registerFormHelperControls(registry);
    auto form = std::make_unique<Form>(QString());
    form->setUserMode(userMode);
    FormFile::load(*form, FormFile::parse(QJsonDocument(file).toJson(), "frmTest"), registry);
    return form;
}
} // namespace HelperForms
