#include "DesignerWindow.h"

#include "ColourPage.h"
#include "ControlProperties.h"
#include "ControlRegistry.h"
#include "DesignSurface.h"
#include "ErrorReport.h"
#include "FontPage.h"
#include "Form.h"
#include "FormFile.h"
#include "PicturePage.h"
#include "PropertyList.h"
#include "PropertyPageHost.h"
#include "UserControl.h"
#include "button/ButtonPage.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <algorithm>

namespace {
constexpr int Margin = 8; // pixels around the form
// Where a new control is placed, twips from the top-left corner of the client area.
constexpr QPointF NewControlAt(120, 120);

QString describe(const FormFileError &e)
{
    return e.position().isEmpty()
               ? QStringLiteral("%1: %2").arg(e.file(), e.message())
               : QStringLiteral("%1: %2: %3").arg(e.file(), e.position(), e.message());
}

template <class Receiver, class Slot>
QAction *menuAction(QMenu *menu, const QString &text, const QKeySequence &keys, Receiver *receiver,
                    Slot slot)
{
    QAction *action = menu->addAction(text);
    action->setShortcut(keys);
    QObject::connect(action, &QAction::triggered, receiver, slot);
    return action;
}
} // namespace

DesignerWindow::DesignerWindow(const ControlRegistry &registry, QWidget *parent)
    : QMainWindow(parent)
    , m_registry(registry)
    , m_document(registry)
    , m_canvas(new QWidget)
    , m_properties(new PropertyList)
{
    auto *scroll = new QScrollArea(this);
    scroll->setBackgroundRole(QPalette::Dark);
    scroll->setWidget(m_canvas);
    setCentralWidget(scroll);

    auto *palette = new QListWidget;
    palette->addItems(m_document.paletteClasses());
    auto *paletteDock = new QDockWidget(QStringLiteral("Controls"), this);
    paletteDock->setObjectName(QStringLiteral("paletteDock"));
    paletteDock->setWidget(palette);
    addDockWidget(Qt::LeftDockWidgetArea, paletteDock);
    connect(palette, &QListWidget::itemActivated, this,
            [this](const QListWidgetItem *item) { addControl(item->text()); });

    auto *propertyDock = new QDockWidget(QStringLiteral("Properties"), this);
    propertyDock->setObjectName(QStringLiteral("propertyDock"));
    propertyDock->setWidget(m_properties);
    addDockWidget(Qt::RightDockWidgetArea, propertyDock);
    connect(m_properties, &PropertyList::edited, this, &DesignerWindow::markEdited);
    connect(m_properties, &PropertyList::pagesRequested, this, &DesignerWindow::showPropertyPages);

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    menuAction(file, QStringLiteral("&New"), QKeySequence::New, this, [this] {
        if (mayLoseChanges())
            m_document.newForm();
    });
    menuAction(file, QStringLiteral("&Open..."), QKeySequence::Open, this, [this] {
        if (!mayLoseChanges())
            return;
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Open Form"), QFileInfo(m_document.path()).path(),
            QStringLiteral("Form files (*.json);;All files (*)"));
        if (!path.isEmpty())
            open(path);
    });
    menuAction(file, QStringLiteral("&Save"), QKeySequence::Save, this, &DesignerWindow::save);
    menuAction(file, QStringLiteral("Save &As..."), QKeySequence::SaveAs, this,
               &DesignerWindow::saveAs);
    file->addSeparator();
    menuAction(file, QStringLiteral("&Quit"), QKeySequence::Quit, this, &QWidget::close);
    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    menuAction(edit, QStringLiteral("Select &All"), QKeySequence::SelectAll, this,
               [this] { m_surface->select(m_document.form()->controls()); });
    menuAction(edit, QStringLiteral("&Property Pages..."), QKeySequence(Qt::SHIFT | Qt::Key_F4),
               this, &DesignerWindow::showPropertyPages);

    connect(&m_document, &FormDocument::formReplaced, this, &DesignerWindow::showForm);
    connect(&m_document, &FormDocument::modifiedChanged, this, &DesignerWindow::updateTitle);
    showForm(m_document.form());
    resize(960, 640);
}

bool DesignerWindow::open(const QString &path)
{
    try {
        m_document.open(path);
        const QStringList problems = m_document.openProblems();
        if (!problems.isEmpty())
            reportError(this, QStringLiteral("%1 opened, but some of it cannot be shown:\n%2")
                                  .arg(path, problems.join(QLatin1Char('\n'))));
        return true;
    } catch (const FormFileError &e) {
        reportError(this, QStringLiteral("Cannot open %1").arg(describe(e)));
        return false;
    }
}

bool DesignerWindow::save()
{
    return m_document.path().isEmpty() ? saveAs() : saveTo(m_document.path());
}

bool DesignerWindow::saveAs()
{
    const QString suggested = m_document.path().isEmpty()
                                  ? m_document.form()->Name() + QStringLiteral(".json")
                                  : m_document.path();
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save Form As"), suggested,
                                     QStringLiteral("Form files (*.json);;All files (*)"));
    return !path.isEmpty() && saveTo(path);
}

bool DesignerWindow::saveTo(const QString &path)
{
    try {
        m_document.save(path);
    } catch (const FormFileError &e) {
        reportError(this, QStringLiteral("Cannot save %1").arg(describe(e)));
        return false;
    }
    updateTitle();
    return true;
}

bool DesignerWindow::mayLoseChanges()
{
    if (!m_document.isModified())
        return true;
    switch (QMessageBox::question(this, windowTitle(),
                                  QStringLiteral("The form has unsaved changes. Save them?"),
                                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel)) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void DesignerWindow::closeEvent(QCloseEvent *event)
{
    if (mayLoseChanges())
        event->accept();
    else
        event->ignore();
}

// The form stands in the canvas as a plain child. A form property that changes its frame makes
// it a window of its own again, so every edit embeds it anew.
void DesignerWindow::showForm(Form *form)
{
    m_properties->showObject(nullptr);
    delete m_surface;
    form->setParent(m_canvas, Qt::Widget);
    form->move(Margin, Margin);
    form->show();
    m_surface = new DesignSurface(form, m_canvas);
    m_surface->show();
    m_canvas->resize(form->width() + 2 * Margin, form->height() + 2 * Margin);
    connect(m_surface, &DesignSurface::selectionChanged, this, &DesignerWindow::selectionChanged);
    connect(m_surface, &DesignSurface::geometryEdited, this, &DesignerWindow::markEdited);
    connect(m_surface, &DesignSurface::pagesRequested, this, &DesignerWindow::showPropertyPages);
    m_surface->setFocus();
    selectionChanged();
    updateTitle();
}

void DesignerWindow::selectionChanged()
{
    m_properties->showObject(current());
}

QObject *DesignerWindow::current() const
{
    const QList<UserControl *> &selection = m_surface->selection();
    return selection.isEmpty() ? static_cast<QObject *>(m_document.form()) : selection.first();
}

void DesignerWindow::addControl(const QString &className)
{
    UserControl *control = m_document.addControl(className, NewControlAt);
    if (!control) {
        reportError(this, QStringLiteral("No control class \"%1\" is known").arg(className));
        return;
    }
    m_surface->select({control});
    m_surface->setFocus();
}

void DesignerWindow::markEdited()
{
    m_document.setModified(true);
    Form *form = m_document.form();
    if (form->isWindow()) {
        form->setParent(m_canvas, Qt::Widget);
        form->move(Margin, Margin);
        form->show();
        m_surface->raise();
    }
    m_canvas->resize(form->width() + 2 * Margin, form->height() + 2 * Margin);
    // Rows set as loading sets them need not redraw by themselves.
    if (auto *widget = qobject_cast<QWidget *>(current()))
        widget->update();
    m_surface->update();
    m_properties->refresh();
}

void DesignerWindow::updateTitle()
{
    const QString path = m_document.path();
    setWindowTitle(
        QStringLiteral("%1[*] - Kelvo Designer")
            .arg(path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path).fileName()));
    setWindowModified(m_document.isModified());
}

void DesignerWindow::showPropertyPages()
{
    QObject *first = current();
    QList<QObject *> selection(m_surface->selection().begin(), m_surface->selection().end());
    if (selection.isEmpty())
        selection.append(first);
    const QList<ListedProperty> rows = listProperties(first);
    const auto has = [&rows](QMetaType kind) {
        return std::any_of(rows.begin(), rows.end(),
                           [kind](const ListedProperty &p) { return p.value.metaType() == kind; });
    };
    const auto *control = qobject_cast<const UserControl *>(first);
    const bool button =
        control && m_registry.classNameOf(control) == QLatin1String("Kelvo.ZoButton");
    const bool fonts = has(QMetaType::fromType<FontRef>());
    const bool pictures = has(QMetaType::fromType<PictureRef>());
    const bool colours = has(QMetaType::fromType<Colour>());
    if (!button && !fonts && !pictures && !colours) {
        reportError(this, QStringLiteral("%1 has no property pages").arg(first->objectName()));
        return;
    }

    PropertyPageHost host(selection, this);
    host.setWindowTitle(QStringLiteral("Property Pages - %1").arg(first->objectName()));
    if (fonts)
        host.addPage(new FontPage);
    if (pictures)
        host.addPage(new PicturePage);
    if (colours)
        host.addPage(new ColourPage);
    if (button)
        host.setCurrentPage(host.addPage(new ButtonPage));
    connect(&host, &PropertyPageHost::applied, this, &DesignerWindow::markEdited);
    host.exec();
}
