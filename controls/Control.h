#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>

// A label or title as it reads, without the "&" that marks its mnemonic.
QString withoutMnemonic(QString text);

// A borrowed handle to one control of a window, as answered by the lookup.
//
// The handle may be empty (no control has the tag, or the control is gone):
// then every operation does nothing and every question answers an empty
// text, 0 or false. Callers therefore never test what the lookup gave them.
// The handle keeps no reference: the window owns its controls.
class Control
{
public:
    Control() = default;
    explicit Control(QObject *object);

    bool isNull() const { return m_object.isNull(); }
    QObject *object() const { return m_object.data(); }
    template<class T> T *as() const { return qobject_cast<T *>(m_object.data()); }

    qint64 tag() const;

    void setEnabled(bool enabled);
    bool isEnabled() const;
    void setHidden(bool hidden);
    bool isHidden() const;

    // Text of a text field, label, combo box or button.
    QString stringValue() const;
    void setStringValue(const QString &text);

    // Title of a button, without its mnemonic marker; compared as exact
    // text by callers. Setting a title keeps the "&" it is given.
    QString title() const;
    void setTitle(const QString &title);

    // Check state of a check box or radio button: 1 on, 0 off.
    int state() const;

    // Locks a text field against typing, and against selecting and
    // focusing, as a running task needs.
    void setEditable(bool editable);
    bool isEditable() const;
    void setSelectable(bool selectable);
    bool isSelectable() const;

    // Hands text to a screen reader to say now, as the control's description
    // (Qt's AT-SPI bridge has no announcement of its own). What the control
    // shows is read from its name and text, which follow every change; only
    // what is said unasked goes through here.
    void announce(const QString &text);

    // Whether the control may take the keyboard focus.
    void setRefusesFirstResponder(bool refuses);

    // Selected row of the action matrix, -1 when none.
    int selectedRow() const;

    // Value and bounds of a stepper.
    qint64 integerValue() const;
    double minValue() const;
    double maxValue() const;

    // Date pickers. Setting a date or a minimum from code sends no action.
    QDateTime dateValue() const;
    void setDateValue(const QDateTime &date);
    void setMinDate(const QDateTime &date);
    QDateTime minDate() const;

private:
    QPointer<QObject> m_object;
};
