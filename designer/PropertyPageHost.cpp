#include "PropertyPageHost.h"

#include "ErrorReport.h"
#include "HostError.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

PropertyPageHost::PropertyPageHost(const QList<QObject *> &selection, QWidget *parent)
    : QDialog(parent)
    , m_selection(selection)
    , m_tabs(new QTabWidget(this))
    , m_buttons(new QDialogButtonBox(
          QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this))
{
    setWindowTitle(QStringLiteral("Property Pages"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &PropertyPageHost::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &PropertyPageHost::reject);
    connect(m_buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            &PropertyPageHost::apply);
    updateApply();
}

void PropertyPageHost::addBinding(Binding binding)
{
    m_tabs->addTab(binding.widget, binding.widget->windowTitle());
    m_pages.push_back(std::move(binding));
    updateApply();
}

void PropertyPageHost::setCurrentPage(QWidget *page)
{
    m_tabs->setCurrentWidget(page);
}

bool PropertyPageHost::canApply() const
{
    return m_buttons->button(QDialogButtonBox::Apply)->isEnabled();
}

void PropertyPageHost::updateApply()
{
    m_buttons->button(QDialogButtonBox::Apply)
        ->setEnabled(std::any_of(m_pages.begin(), m_pages.end(),
                                 [](const Binding &p) { return p.changed(); }));
}

bool PropertyPageHost::apply()
{
    for (const Binding &page : m_pages) {
        if (!page.changed())
            continue;
        try {
            page.applyChanges();
        } catch (const HostError &e) {
            m_tabs->setCurrentWidget(page.widget);
            reportError(this, QStringLiteral("%1: %2").arg(page.widget->windowTitle(),
                                                           QString::fromUtf8(e.what())));
            return false;
        }
        page.clearChanged();
        emit applied();
    }
    return true;
}

void PropertyPageHost::accept()
{
    if (apply())
        QDialog::accept();
}

// The keyboard starts in the current page's first field.
void PropertyPageHost::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    QWidget *page = m_tabs->currentWidget();
    if (!page)
        return;
    for (QWidget *w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled()) {
            w->setFocus(Qt::TabFocusReason);
            break;
        }
    }
}
