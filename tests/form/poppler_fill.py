# Fills text fields of a PDF as Evince and Okular do (Poppler), then saves the filled copy.
#   poppler_fill.py IN.pdf OUT.pdf FIELD=VALUE...
import sys

from PyQt5.QtCore import QCoreApplication
from popplerqt5 import Poppler

app = QCoreApplication(sys.argv)
document = Poppler.Document.load(sys.argv[1])
wanted = dict(pair.split("=", 1) for pair in sys.argv[3:])
for index in range(document.numPages()):
    for field in document.page(index).formFields():
        if field.name() in wanted:
            field.setText(wanted.pop(field.name()))
if wanted:
    sys.exit("no such fields: " + ", ".join(wanted))
converter = document.pdfConverter()
converter.setOutputFileName(sys.argv[2])
converter.setPDFOptions(converter.pdfOptions() | Poppler.PDFConverter.WithChanges)
sys.exit(0 if converter.convert() else 1)
