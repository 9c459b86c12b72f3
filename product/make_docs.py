#!/usr/bin/env python3
"""Makes the product's documents from their UTF-8 sources.

The product runs on Chinese Windows, where text files are GBK with CRLF line
ends, so that is how they are written into the product folder.

  make_docs.py text SOURCE OUTPUT
      SOURCE (UTF-8) as GBK with CRLF line ends.
  make_docs.py picture CONVERT OUTPUT
      The tutorial's illustration (a PNG of the installer window), drawn with
      ImageMagick's convert program CONVERT.
  make_docs.py mht HTML OUTPUT PICTURE...
      The tutorial as one MHTML document: HTML (UTF-8, GBK once written) and
      the PICTUREs it refers to by their base names.
"""
import base64
import os
import subprocess
import sys

BOUNDARY = "----=_NextPart_Dormivet_Tutorial"


def gbk_text(source_path):
    with open(source_path, encoding="utf-8") as source:
        text = source.read()
    text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    return text.encode("gbk")


def write_output(path, data):
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    temporary = path + ".tmp"
    with open(temporary, "wb") as output:
        output.write(data)
    os.replace(temporary, path)


def base64_lines(data):
    encoded = base64.b64encode(data).decode("ascii")
    return "\r\n".join(encoded[i:i + 76] for i in range(0, len(encoded), 76))


def mht(html_path, pictures):
    title = "Dormivet 安装说明"
    subject = "=?gbk?B?" + base64.b64encode(title.encode("gbk")).decode("ascii") + "?="
    parts = [
        "From: <Dormivet>",
        "Subject: " + subject,
        "MIME-Version: 1.0",
        'Content-Type: multipart/related; type="text/html"; boundary="%s"' % BOUNDARY,
        "",
        "This is a multi-part message in MIME format.",
        "",
        "--" + BOUNDARY,
        'Content-Type: text/html; charset="gbk"',
        "Content-Transfer-Encoding: base64",
        "Content-Location: file:///Dormivet/tutorial.htm",
        "",
        base64_lines(gbk_text(html_path)),
        "",
    ]
    for picture in pictures:
        with open(picture, "rb") as source:
            data = source.read()
        parts += [
            "--" + BOUNDARY,
            "Content-Type: image/png",
            "Content-Transfer-Encoding: base64",
            "Content-Location: file:///Dormivet/" + os.path.basename(picture),
            "",
            base64_lines(data),
            "",
        ]
    parts += ["--" + BOUNDARY + "--", ""]
    return "\r\n".join(parts).encode("ascii")


def draw_picture(convert, output):
    """A sketch of the installer window with the two places to click marked."""
    command = [
        convert, "-size", "300x420", "xc:#eef3f9",
        "-fill", "#3a7bd5", "-draw", "rectangle 25,20 275,400",
        "-fill", "white", "-draw", "rectangle 29,52 271,396",
        "-font", "WenQuanYi-Micro-Hei",
        "-fill", "white", "-pointsize", "15", "-draw", "text 36,42 'Dormivet 安装'",
        "-fill", "#333333", "-pointsize", "13", "-draw", "text 40,92 '安装目录：'",
        "-fill", "#f4f4f4", "-stroke", "#9aa7b8", "-draw", "rectangle 40,102 260,128",
        "-stroke", "none",
        "-fill", "#333333", "-pointsize", "12", "-draw", "text 48,120 'D:\\\\Tavrinex\\\\Dormivet'",
        "-fill", "#dde3ea", "-draw", "rectangle 40,300 260,314",
        "-fill", "#3a7bd5", "-draw", "rectangle 40,300 170,314",
        "-fill", "#2f9e44", "-draw", "roundrectangle 70,330 230,376 8,8",
        "-fill", "white", "-pointsize", "18", "-draw", "text 114,360 '立即安装'",
        "-fill", "#d9480f", "-draw", "circle 250,115 262,115",
        "-fill", "white", "-pointsize", "14", "-draw", "text 246,120 '1'",
        "-fill", "#d9480f", "-draw", "circle 250,353 262,353",
        "-fill", "white", "-draw", "text 246,358 '2'",
        # No time stamps in the file, so an unchanged picture is the same bytes.
        "-define", "png:exclude-chunks=date,time", "+set", "date:create", "+set", "date:modify",
        "-strip",
    ]
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    temporary = output + ".tmp.png"
    subprocess.run(command + [temporary], check=True)
    os.replace(temporary, output)


def main(argv):
    if len(argv) >= 3 and argv[0] == "text":
        write_output(argv[2], gbk_text(argv[1]))
    elif len(argv) == 3 and argv[0] == "picture":
        draw_picture(argv[1], argv[2])
    elif len(argv) >= 3 and argv[0] == "mht":
        write_output(argv[2], mht(argv[1], argv[3:]))
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
