"""Prints what a spreadsheet reader sees in a workbook, one line per fact, for the tests.

Cells are written as kind:value (t text, n number), prefixed with * when bold; a number is
shown with the 15 significant digits a spreadsheet keeps, as a plain decimal. Empty cells
print as nothing. Rows are tab-separated lines "row N:" followed by the cells. The first
sheet's page setup is printed before its rows; every further sheet follows as "sheet NAME:",
its frozen pane, its column widths and its rows.
"""
import sys
from decimal import Decimal

import openpyxl


def number_text(value):
    if isinstance(value, bool):
        raise SystemExit("unexpected boolean cell")
    if isinstance(value, int):
        return str(value)
    return format(Decimal(format(value, ".15g")).normalize(), "f")


def cell_text(cell):
    if cell.value is None:
        return ""
    if isinstance(cell.value, str):
        text = "t:" + cell.value
    elif isinstance(cell.value, (int, float)):
        text = "n:" + number_text(cell.value)
    else:
        text = "?:" + repr(cell.value)
    return ("*" if cell.font is not None and cell.font.b else "") + text


def main(path):
    book = openpyxl.load_workbook(path)
    print("sheets=" + "|".join(book.sheetnames))
    sheet = book.worksheets[0]
    print("freeze=" + str(sheet.freeze_panes))
    print("merged=" + " ".join(sorted(str(r) for r in sheet.merged_cells.ranges)))
    print("print_title_rows=" + str(sheet.print_title_rows))
    print("header_center=" + str(sheet.oddHeader.center.text))
    print("footer=" + " | ".join(str(part.text) for part in
                                  (sheet.oddFooter.left, sheet.oddFooter.center, sheet.oddFooter.right)))
    widths = [sheet.column_dimensions[letter].width for letter in "ABCDEF"]
    print("widths=" + " ".join(format(w, ".2f") for w in widths))
    print_rows(sheet)
    for sheet in book.worksheets[1:]:
        print("sheet " + sheet.title + ":")
        print("freeze=" + str(sheet.freeze_panes))
        print("widths=" + " ".join(format(sheet.column_dimensions[letter].width, ".2f") for letter in "ABCDEF"))
        print_rows(sheet)


def print_rows(sheet):
    for index, row in enumerate(sheet.iter_rows(min_col=1, max_col=6), start=1):
        print("row %d:\t%s" % (index, "\t".join(cell_text(cell) for cell in row)))


if __name__ == "__main__":
    main(sys.argv[1])
