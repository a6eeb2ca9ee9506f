"""Files that cannot be read raise DrawingError naming the file and the line."""

import pytest
from conftest import EXAMPLES

import pphatch


def test_a_truncated_file_names_its_last_line(tmp_path):
    cut = tmp_path / "cut.dxf"
    lines = (EXAMPLES / "plate.dxf").read_text().splitlines(keepends=True)
    cut.write_text("".join(lines[:57]))
    with pytest.raises(pphatch.DrawingError) as caught:
        pphatch.Drawing.read(cut)
    error = caught.value
    assert error.path == str(cut)
    assert error.line == 57
    assert str(error) == f"{cut}: line 57: {error.reason}"
    assert "ends" in error.reason


@pytest.mark.parametrize("name,content,reason", [
    ("missing.dxf", None, "cannot open"),
    ("plan.dwg", "0\nEOF\n", "DWG files cannot be read"),
    ("plan.txt", "0\nEOF\n", "unknown drawing format"),
])
def test_files_without_a_line_to_blame(tmp_path, name, content, reason):
    path = tmp_path / name
    if content is not None:
        path.write_text(content)
    with pytest.raises(pphatch.DrawingError) as caught:
        pphatch.Drawing.read(str(path))
    assert caught.value.line is None
    assert caught.value.path == str(path)
    assert caught.value.reason.startswith(reason)


def test_a_truncated_json_drawing_names_its_line(tmp_path):
    path = tmp_path / "walls.json"
    lines = (EXAMPLES / "walls.json").read_text().splitlines(keepends=True)
    path.write_text("".join(lines[:8]))
    with pytest.raises(pphatch.DrawingError) as caught:
        pphatch.Drawing.read(path)
    assert caught.value.line == 9
    assert "unexpected end of input" in caught.value.reason
