#pragma once

class QTableWidget;
class QTableWidgetItem;

// Shared by the MainForm*.cpp files only.

// The batch grid's cell, made on first use with the flags of its column: the
// builder makes the first row's cells, the refresh those of the rows it adds.
QTableWidgetItem* BatchCell(QTableWidget* grid, int row, int column);
