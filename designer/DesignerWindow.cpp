#include "DesignerWindow.h"

#include "ColourPage.h"
#include "ControlProperties.h"
#include "ControlRegistry.h"
#include "DesignSurface.h"
#include "ErrorReport.h"
#include "FontPage.h"
#include "Form.h"
#include "FormFile.h"
#include "FormText.h"
#include "PicturePage.h"
#include "PropertyList.h"
#include "PropertyPageHost.h"
#include "UserControl.h"
#include "button/ButtonPage.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollArea>
#include <QStatusBar>
#include <algorithm>

namespace {
constexpr int Margin = 8; // pixels around the form
// How far a pasted or duplicated control stands from one in its place, twips.
constexpr double PasteStep = 120;
// The clipboard's form file text, beside the plain text of the same.
const QString FormMimeType = QStringLiteral("application/x-kelvo-form");

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

// The class pages this designer can show, by the names the classes ask for them by.
struct ClassPage {
    QLatin1StringView name;
    QWidget *(*add)(PropertyPageHost &host);
};
const ClassPage classPages[] = {
    {QLatin1StringView("Button"),
     [](PropertyPageHost &host) -> QWidget * { return host.addPage(new ButtonPage); }},
};
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
    for (const QString &className : m_document.paletteClasses()) {
        const QString picture = registry.find(className)->picture;
        new QListWidgetItem(picture.isEmpty() ? QIcon() : QIcon(picture), className, palette);
    }
    auto *paletteDock = new QDockWidget(QStringLiteral("Controls"), this);
    paletteDock->setObjectName(QStringLiteral("paletteDock"));
    paletteDock->setWidget(palette);
    addDockWidget(Qt::LeftDockWidgetArea, paletteDock);
    connect(palette, &QListWidget::itemActivated, this, [this](const QListWidgetItem *item) {
        m_surface->armPlacement(item->text());
        m_surface->setFocus();
        statusBar()->showMessage(
            QStringLiteral("Click on the form to place a new %1; Escape to cancel")
                .arg(item->text()));
    });

    auto *propertyDock = new QDockWidget(QStringLiteral("Properties"), this);
    propertyDock->setObjectName(QStringLiteral("propertyDock"));
    propertyDock->setWidget(m_properties);
    addDockWidget(Qt::RightDockWidgetArea, propertyDock);
    connect(m_properties, &PropertyList::edited, this, [this](const QString &key) {
        edited(key == QLatin1String("(Name)") ? QStringLiteral("Rename")
                                              : QStringLiteral("Change %1").arg(key));
    });
    connect(m_properties, &PropertyList::pagesRequested, this, &DesignerWindow::showPropertyPages);

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    menuAction(file, QStringLiteral("&New"), QKeySequence::New, this, [this] {
        if (!mayLoseChanges())
            return;
        m_document.newForm();
        startHistory();
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
    menuAction(file, QStringLiteral("Save &As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
               this, &DesignerWindow::saveAs);
    file->addSeparator();
    menuAction(file, QStringLiteral("&Quit"), QKeySequence::Quit, this, &QWidget::close);
    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction *undo = m_undo.createUndoAction(this, QStringLiteral("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction *redo = m_undo.createRedoAction(this, QStringLiteral("&Redo"));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addActions({undo, redo});
    edit->addSeparator();
    // These act on the form's controls while the form has the keyboard; in the property list
    // the same keys edit text.
    for (QAction *action :
         {menuAction(edit, QStringLiteral("Cu&t"), QKeySequence::Cut, this, &DesignerWindow::cut),
          menuAction(edit, QStringLiteral("&Copy"), QKeySequence::Copy, this,
                     &DesignerWindow::copy),
          menuAction(edit, QStringLiteral("&Paste"), QKeySequence::Paste, this,
                     &DesignerWindow::paste),
          menuAction(edit, QStringLiteral("D&uplicate"), QKeySequence(Qt::CTRL | Qt::Key_D), this,
                     &DesignerWindow::duplicate),
          menuAction(edit, QStringLiteral("&Delete"), QKeySequence::Delete, this,
                     &DesignerWindow::deleteSelection)}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        scroll->addAction(action);
    }
    edit->addSeparator();
    menuAction(edit, QStringLiteral("Select &All"), QKeySequence::SelectAll, this,
               [this] { m_surface->select(m_document.form()->controls()); });
    menuAction(edit, QStringLiteral("&Property Pages..."), QKeySequence(Qt::SHIFT | Qt::Key_F4),
               this, &DesignerWindow::showPropertyPages);

    connect(&m_document, &FormDocument::formReplaced, this, &DesignerWindow::showForm);
    connect(&m_document, &FormDocument::modifiedChanged, this, &DesignerWindow::updateTitle);
    connect(&m_undo, &QUndoStack::cleanChanged, this,
            [this](bool clean) { m_document.setModified(!clean); });
    showForm(m_document.form());
    startHistory();
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
        startHistory();
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

// A new form is offered the first file name of its kind that is free in the folder.
bool DesignerWindow::saveAs()
{
    QString suggested = m_document.path();
    if (suggested.isEmpty()) {
        const QString stem = m_document.form()->Name();
        suggested = stem + QStringLiteral(".json");
        for (int n = 2; QFileInfo::exists(suggested); ++n)
            suggested = stem + QString::number(n) + QStringLiteral(".json");
    }
    const QString chosen =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save Form As"), suggested,
                                     QStringLiteral("Form files (*.json);;All files (*)"));
    if (chosen.isEmpty())
        return false;
    // The dialog asked about replacing the name it was given, not the one with the suffix.
    const QString path = withFormSuffix(chosen);
    if (path != chosen && QFileInfo::exists(path) &&
        QMessageBox::question(this, windowTitle(),
                              QStringLiteral("%1 already exists. Replace it?").arg(path)) !=
            QMessageBox::Yes)
        return false;
    return saveTo(path);
}

QString DesignerWindow::withFormSuffix(const QString &path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".json") : path;
}

bool DesignerWindow::saveTo(const QString &path)
{
    try {
        m_document.save(path);
    } catch (const FormFileError &e) {
        reportError(this, QStringLiteral("Cannot save %1").arg(describe(e)));
        return false;
    }
    m_undo.setClean();
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
    // Controls that paint in their window's colours take them from the form as they do at run
    // time, not from the dark canvas around it.
    form->setBackgroundRole(QPalette::Window);
    form->move(Margin, Margin);
    form->show();
    m_surface = new DesignSurface(form, m_canvas);
    m_surface->show();
    m_canvas->resize(form->width() + 2 * Margin, form->height() + 2 * Margin);
    connect(m_surface, &DesignSurface::selectionChanged, this, &DesignerWindow::selectionChanged);
    connect(m_surface, &DesignSurface::geometryEdited, this,
            [this] { edited(QStringLiteral("Move or Resize")); });
    connect(m_surface, &DesignSurface::placeRequested, this, [this](const QString &c, QPointF at) {
        statusBar()->clearMessage();
        addControl(c, at);
    });
    connect(m_surface, &DesignSurface::pagesRequested, this, &DesignerWindow::showPropertyPages);
    m_surface->setFocus();
    selectionChanged();
    updateTitle();
}

void DesignerWindow::selectionChanged()
{
    m_selectionKeys = m_surface->selectedKeys();
    m_properties->showObject(current());
}

QObject *DesignerWindow::current() const
{
    const QList<UserControl *> &selection = m_surface->selection();
    return selection.isEmpty() ? static_cast<QObject *>(m_document.form()) : selection.first();
}

void DesignerWindow::addControl(const QString &className, QPointF topLeft)
{
    if (m_document.form()->controls().size() >= FormFile::MaxControls) {
        reportError(this,
                    QStringLiteral("A form holds at most %1 controls").arg(FormFile::MaxControls));
        return;
    }
    const QStringList before = m_surface->selectedKeys();
    UserControl *control = m_document.addControl(className, topLeft);
    if (!control) {
        reportError(this, QStringLiteral("No control class \"%1\" is known").arg(className));
        return;
    }
    m_surface->select({control});
    m_surface->setFocus();
    edited(QStringLiteral("Add %1").arg(control->Name()), before);
}

// An edit in place (a move, a property, a new name) keeps the selection, but may rename it.
void DesignerWindow::edited(const QString &description)
{
    edited(description, m_selectionKeys);
}

void DesignerWindow::edited(const QString &description, const QStringList &selectionBefore)
{
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
    QByteArray after;
    try {
        after = m_document.snapshot();
    } catch (const std::runtime_error &e) {
        reportError(this, QStringLiteral("%1 cannot be undone: %2")
                              .arg(description, QString::fromUtf8(e.what())));
        m_document.setModified(true);
        return;
    }
    if (after != m_state) {
        m_undo.push(new FormEdit(description, {m_state, selectionBefore},
                                 {after, m_surface->selectedKeys()},
                                 [this](const FormState &state) { showState(state); }));
        m_state = after;
    }
    m_selectionKeys = m_surface->selectedKeys();
    m_document.setModified(!m_undo.isClean());
}

void DesignerWindow::showState(const FormState &state)
{
    try {
        m_document.restore(state.text);
        m_state = m_document.snapshot();
    } catch (const std::runtime_error &e) {
        reportError(this, QStringLiteral("Cannot put the form back: %1").arg(e.what()));
        return;
    }
    m_surface->selectKeys(state.selection);
}

void DesignerWindow::startHistory()
{
    m_undo.clear();
    try {
        m_state = m_document.snapshot();
    } catch (const std::runtime_error &) {
        m_state.clear();
    }
}

void DesignerWindow::replaceByEdit(const QString &description,
                                   const std::function<QByteArray(QStringList *)> &edit)
{
    const QStringList before = m_surface->selectedKeys();
    QStringList selection;
    try {
        m_document.restore(edit(&selection));
    } catch (const FormFileError &e) {
        reportError(this, QStringLiteral("Cannot %1: %2").arg(description.toLower(), describe(e)));
        return;
    }
    m_surface->selectKeys(selection);
    edited(description, before);
}

void DesignerWindow::deleteSelection()
{
    const QStringList keys = m_surface->selectedKeys();
    if (!keys.isEmpty())
        replaceByEdit(QStringLiteral("Delete"),
                      [&](QStringList *) { return FormText::remove(m_state, keys); });
}

void DesignerWindow::copy()
{
    const QStringList keys = m_surface->selectedKeys();
    if (keys.isEmpty())
        return;
    const QByteArray clip = FormText::extract(m_state, keys);
    auto *data = new QMimeData;
    data->setData(FormMimeType, clip);
    data->setText(QString::fromUtf8(clip));
    QGuiApplication::clipboard()->setMimeData(data);
}

void DesignerWindow::cut()
{
    const QStringList keys = m_surface->selectedKeys();
    if (keys.isEmpty())
        return;
    copy();
    replaceByEdit(QStringLiteral("Cut"),
                  [&](QStringList *) { return FormText::remove(m_state, keys); });
}

void DesignerWindow::paste()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    const QByteArray clip = !data                           ? QByteArray()
                            : data->hasFormat(FormMimeType) ? data->data(FormMimeType)
                                                            : data->text().toUtf8();
    if (clip.trimmed().isEmpty())
        return;
    // The clipboard is checked first, so that a text that is no form says so in its own words.
    try {
        FormFile::parse(clip, QStringLiteral("clipboard"));
    } catch (const FormFileError &e) {
        reportError(this, QStringLiteral("The clipboard holds no controls to paste: %1: %2")
                              .arg(e.position(), e.message()));
        return;
    }
    replaceByEdit(QStringLiteral("Paste"), [&](QStringList *added) {
        return FormText::insert(m_state, clip, FormText::pasteOffset(m_state, clip, PasteStep),
                                added);
    });
}

void DesignerWindow::duplicate()
{
    const QStringList keys = m_surface->selectedKeys();
    if (keys.isEmpty())
        return;
    replaceByEdit(QStringLiteral("Duplicate"), [&](QStringList *added) {
        const QByteArray clip = FormText::extract(m_state, keys);
        return FormText::insert(m_state, clip, FormText::pasteOffset(m_state, clip, PasteStep),
                                added);
    });
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
    const ControlClass *kind = control ? m_registry.classOf(control) : nullptr;
    const QStringList ownPages = kind ? kind->propertyPages : QStringList();
    const bool fonts = has(QMetaType::fromType<FontRef>());
    const bool pictures = has(QMetaType::fromType<PictureRef>());
    const bool colours = has(QMetaType::fromType<Colour>());
    if (ownPages.isEmpty() && !fonts && !pictures && !colours) {
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
    for (const ClassPage &page : classPages) {
        if (ownPages.contains(page.name))
            host.setCurrentPage(page.add(host));
    }
    connect(&host, &PropertyPageHost::applied, this,
            [this] { edited(QStringLiteral("Property Pages")); });
    host.exec();
}
