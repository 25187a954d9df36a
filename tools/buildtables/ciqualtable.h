#pragma once
// The CIQUAL composition table (semicolon-separated, decimal comma), indexed
// by food code. The published file carries one food on two lines (same
// alim_code, each line holding part of the values); such lines are merged
// into one food: an empty cell takes the other line's value, and two
// different values for the same cell are refused.
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include "ciqualcell.h"

struct CiqualFood {
    int line = 0;           // line of the food's first row in the file
    QString code;           // alim_code
    QString name;           // alim_nom_fr
    QString group;          // alim_grp_code, e.g. "04"
    QString subgroup;       // alim_ssgrp_code, e.g. "0401"
    QString subsubgroup;    // alim_ssssgrp_code, e.g. "040108"
    QString groupName;      // alim_grp_nom_fr, e.g. "viandes, œufs, poissons et assimilés"
    QString subgroupName;   // alim_ssgrp_nom_fr, e.g. "viandes cuites"
    QStringList cells;      // every column of the row, merged
};

class CiqualTable {
public:
    // Reads the file; throws DataError on an unreadable file, a header
    // without the identifying columns, or conflicting duplicate rows.
    static CiqualTable read(const QString& path);

    const QString& fileName() const { return m_name; }
    const QVector<CiqualFood>& foods() const { return m_foods; }
    const CiqualFood* find(const QString& code) const;

    // Index of a nutrient column by its exact header title; throws DataError
    // naming the file when the column is absent.
    int column(const QString& title) const;
    // The value of one cell by the cell rule; throws DataError naming the
    // file, the line, the column and the text when the cell is unreadable.
    CiqualValue value(const CiqualFood& food, int column) const;

private:
    QString m_name;
    QStringList m_header;
    QVector<CiqualFood> m_foods;
    QHash<QString, int> m_byCode;
};
