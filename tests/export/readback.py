#!/usr/bin/env python3
"""Reads an exported table back as a spreadsheet program would, and prints its rows as JSON.

    readback.py FILE.csv    the csv module: UTF-8 with a byte-order mark, semicolons, RFC 4180
    readback.py FILE.xlsx   the workbook's first sheet, through openpyxl

Each row is a list of cells. A CSV cell is its text. An xlsx cell is an object: {"s": text} for
a text, {"n": number, "fmt": number format} for a number (dates are numbers with a date format).
The first line of the output also says whether the CSV file began with a byte-order mark.
"""
import csv
import json
import sys


def read_csv(path):
    with open(path, "rb") as f:
        bom = f.read(3) == b"\xef\xbb\xbf"
    with open(path, newline="", encoding="utf-8-sig") as f:
        rows = list(csv.reader(f, delimiter=";", quotechar='"', strict=True))
    return {"bom": bom, "rows": rows}


def read_xlsx(path):
    # openpyxl, the reader the accountant's scripts use, refuses a cell written "9,6" outright.
    import datetime
    import openpyxl
    from openpyxl.utils.datetime import to_excel

    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    rows = []
    for row in sheet.iter_rows():
        cells = []
        for c in row:
            if c.value is None:
                cells.append(None)
            elif c.data_type == "f":
                cells.append({"formula": True})
            elif isinstance(c.value, (datetime.datetime, datetime.date)):
                cells.append({"n": float(to_excel(c.value)), "fmt": c.number_format})
            elif isinstance(c.value, (int, float)) and not isinstance(c.value, bool):
                cells.append({"n": float(c.value), "fmt": c.number_format})
            else:
                cells.append({"s": str(c.value)})
        while cells and cells[-1] is None:
            cells.pop()
        rows.append(cells)
    widths = {key: dim.width for key, dim in sheet.column_dimensions.items() if dim.width}
    return {"sheet": sheet.title, "rows": rows, "widths": widths}


def main():
    path = sys.argv[1]
    result = read_xlsx(path) if path.lower().endswith(".xlsx") else read_csv(path)
    json.dump(result, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
