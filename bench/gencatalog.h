#pragma once

#include "dao.h"

#include <QString>
#include <QtGlobal>
#include <random>
#include <vector>

// A generated catalog for trying the program and for the benchmarks: sections with
// their field definitions and records with Czech texts, numbers and dates. The same
// options always give the same catalog.

struct GenOptions {
    int records = 10000;   // Katalog rows, Inter 1..records
    int sections = 3;      // 1..255 (Sekce is a Byte)
    quint32 seed = 1;
    // Shown text fields after the usual ten (Pol11C, Pol12C, ...), one per entry: how
    // many distinct values the field takes over the records, 0 for each record its own.
    // The other fields take the same values with them as without.
    std::vector<int> extraFields;
};

// The INSERT statements of the records, one after another (Inter 1, 2, ...), each value
// written by CSQL. Kept apart from the database so that a benchmark can time the
// building of the statements on its own.
class RecordGenerator
{
public:
    explicit RecordGenerator(const GenOptions &o);
    bool atEnd() const { return m_next > m_count; }
    QString next();

private:
    quint32 below(quint32 n);  // 0..n-1, the same on every standard library
    bool chance(int percent) { return below(100) < quint32(percent); }
    template <typename List> const auto &pick(const List &list) { return list[below(quint32(std::size(list)))]; }
    QString title();
    QString author();
    QString publisher();
    QString description();
    QString note();
    QString extraValue(int inter, int distinct) const;

    std::mt19937 m_rng;
    int m_sections;
    int m_count;
    std::vector<int> m_extraFields;
    int m_next = 1;
};

// The sections and, for each, its 30 rows of Definice and the same 30 of VychoziDefinice.
void GenerateSections(dao::Database &db, const GenOptions &o);
// The Katalog records, and S_Param.Inter set to their number.
void GenerateRecords(dao::Database &db, const GenOptions &o);
// Both, in one transaction of ws (db must be open in ws), into a catalog whose tables and
// S_Param row exist and whose Katalog, Sekce and definitions are empty. A failure rolls
// the whole generation back and is passed on.
void GenerateCatalog(dao::Workspace &ws, dao::Database &db, const GenOptions &o);

// Draws count pictures into folder (JPEG files, made anew each time) and attaches each to
// one of the records 1..records as its first attachment, in Obrazky.
void GeneratePictures(dao::Database &db, const QString &folder, int count, int records, quint32 seed);

// A photo as a camera takes it, a gradient with grain (what makes a photo's file large
// and slow to decode), written as a JPEG of quality 90; `ellipses` shapes drawn on it.
void WritePhoto(const QString &path, int width, int height, int ellipses);

// A copy of the fresh catalog upgPath at target, filled by GenerateCatalog. Raises 3204
// when target exists and 3024 when upgPath is missing; a failure leaves no target behind.
void CreateCatalogFile(const QString &upgPath, const QString &target, const GenOptions &o);
