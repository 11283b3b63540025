#pragma once

#include <QDialog>
#include <QList>
#include <functional>
#include <vector>

class QDialogButtonBox;
class QTabWidget;

// The property pages of the selected controls in one dialog: a tab per page, with OK, Cancel
// and Apply. Each page is given the selection and loads its fields as it is added. Apply is
// enabled while a page is Changed: it asks each changed page, in order, to apply its changes,
// then clears that page's Changed. A page that cannot apply is brought to the front with the
// reason in a message, the dialog stays open and the pages after it wait. OK applies and
// closes; Cancel closes.
//
// A page is any widget with the property-page protocol: setSelectedControls, SelectionChanged,
// ApplyChanges (which throws HostError when it cannot), Changed, setChanged and the
// ChangedChanged signal. The button's page lives with the button, apart from this host, so the
// protocol is bound here rather than inherited.
class PropertyPageHost : public QDialog {
    Q_OBJECT
public:
    explicit PropertyPageHost(const QList<QObject *> &selection, QWidget *parent = nullptr);

    template <class Page> Page *addPage(Page *page);
    void setCurrentPage(QWidget *page);
    // Whether Apply is enabled.
    bool canApply() const;
    // Applies every changed page; false once one fails.
    bool apply();

signals:
    // A page wrote its fields to the selection.
    void applied();

public slots:
    // OK: applies, and closes unless a page failed.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Binding {
        QWidget *widget;
        std::function<bool()> changed;
        std::function<void()> applyChanges;
        std::function<void()> clearChanged;
    };
    void addBinding(Binding binding);
    void updateApply();

    QList<QObject *> m_selection;
    QTabWidget *m_tabs;
    QDialogButtonBox *m_buttons;
    std::vector<Binding> m_pages;
};

template <class Page> Page *PropertyPageHost::addPage(Page *page)
{
    page->setSelectedControls(m_selection);
    page->SelectionChanged();
    connect(page, &Page::ChangedChanged, this, &PropertyPageHost::updateApply);
    addBinding({page, [page] { return page->Changed(); }, [page] { page->ApplyChanges(); },
                [page] { page->setChanged(false); }});
    return page;
}
