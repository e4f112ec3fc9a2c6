"""C string literals for the generated database tables."""


def c_string(text):
    """text as a C string literal: printable ASCII as it is, everything else
    (UTF-8 bytes, and '?' against trigraphs) as octal escapes."""
    out = []
    for b in text.encode("utf-8"):
        ch = chr(b)
        if ch in '"\\':
            out.append("\\" + ch)
        elif 32 <= b < 127 and ch != "?":
            out.append(ch)
        else:
            out.append('\\%03o' % b)  # octal escapes end after three digits
    return '"' + "".join(out) + '"'
