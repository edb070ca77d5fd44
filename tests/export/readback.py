#!/usr/bin/env python3
"""Reads an exported table back as a spreadsheet program would, and prints its rows as JSON.

    readback.py FILE.csv    the csv module: UTF-8 with a byte-order mark, semicolons, RFC 4180
    readback.py FILE.xlsx   the workbook's first sheet, through zipfile and the XML parser

Each row is a list of cells. A CSV cell is its text. An xlsx cell is an object: {"s": text} for
a text, {"n": number, "fmt": number format} for a number (dates are numbers with a date format).
The first line of the output also says whether the CSV file began with a byte-order mark.
"""
import csv
import json
import sys
import zipfile
import xml.etree.ElementTree as ET

NS = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
REL = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}id"


def read_csv(path):
    with open(path, "rb") as f:
        bom = f.read(3) == b"\xef\xbb\xbf"
    with open(path, newline="", encoding="utf-8-sig") as f:
        rows = list(csv.reader(f, delimiter=";", quotechar='"', strict=True))
    return {"bom": bom, "rows": rows}


def column_index(ref):
    n = 0
    for ch in ref:
        if not ch.isalpha():
            break
        n = n * 26 + (ord(ch.upper()) - 64)
    return n - 1


def read_xlsx(path):
    with zipfile.ZipFile(path) as z:
        names = z.namelist()
        shared = []
        if "xl/sharedStrings.xml" in names:
            root = ET.fromstring(z.read("xl/sharedStrings.xml"))
            for si in root.findall("m:si", NS):
                shared.append("".join(t.text or "" for t in si.iter("{%s}t" % NS["m"])))
        styles = ET.fromstring(z.read("xl/styles.xml"))
        custom = {}
        numfmts = styles.find("m:numFmts", NS)
        if numfmts is not None:
            for nf in numfmts.findall("m:numFmt", NS):
                custom[int(nf.get("numFmtId"))] = nf.get("formatCode")
        xfs = styles.find("m:cellXfs", NS).findall("m:xf", NS)
        formats = [custom.get(int(xf.get("numFmtId", "0")), xf.get("numFmtId", "0")) for xf in xfs]
        workbook = ET.fromstring(z.read("xl/workbook.xml"))
        sheet_name = workbook.find("m:sheets", NS).findall("m:sheet", NS)[0].get("name")
        sheet = ET.fromstring(z.read("xl/worksheets/sheet1.xml"))
        rows = []
        for row in sheet.find("m:sheetData", NS).findall("m:row", NS):
            cells = []
            for c in row.findall("m:c", NS):
                index = column_index(c.get("r"))
                while len(cells) < index:
                    cells.append(None)
                kind = c.get("t")
                v = c.find("m:v", NS)
                if kind == "s":
                    cells.append({"s": shared[int(v.text)]})
                elif kind == "inlineStr":
                    cells.append({"s": "".join(t.text or "" for t in c.iter("{%s}t" % NS["m"]))})
                elif kind == "str":
                    cells.append({"formula": c.find("m:f", NS) is not None, "s": v.text})
                elif v is not None:
                    style = int(c.get("s", "0"))
                    cells.append({"n": float(v.text), "fmt": formats[style]})
                else:
                    cells.append(None)
                if c.find("m:f", NS) is not None:
                    cells[-1] = {"formula": True}
            rows.append(cells)
    return {"sheet": sheet_name, "rows": rows}


def main():
    path = sys.argv[1]
    result = read_xlsx(path) if path.lower().endswith(".xlsx") else read_csv(path)
    json.dump(result, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
