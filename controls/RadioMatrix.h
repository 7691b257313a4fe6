#pragma once

#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QRadioButton;

// A column of radio buttons that acts as one control: the action matrix.
// Its rows are numbered from 0; selectedRow() is -1 while none is checked.
// rowSelected is sent once whenever the user picks a row, by mouse, keys or
// an assistive technology's "Toggle"; never when code does.
class RadioMatrix : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QStringList rows READ rows WRITE setRows)
    Q_PROPERTY(int selectedRow READ selectedRow WRITE setSelectedRow)

public:
    explicit RadioMatrix(QWidget *parent = nullptr);

    QStringList rows() const;
    void setRows(const QStringList &texts);

    int selectedRow() const;
    void setSelectedRow(int row);
    int rowCount() const;
    QRadioButton *rowButton(int row) const;

signals:
    void rowSelected(int row);

private:
    QButtonGroup *m_group;
    // The row last asked for, checked again when the rows are made anew.
    int m_requestedRow = -1;
    bool m_selectingFromCode = false;
};
