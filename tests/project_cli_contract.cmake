# The README's design description (the example examples/summer-holiday, as
# it stands there) saved as a project with its photos
# embedded: the project renders to the same picture as the description, with
# the photos' files gone; info lists its blocks; copies cut short are refused
# with alert 10's text or open with their loss reported.
include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)

set(dir "${OUT}")
file(REMOVE_RECURSE "${dir}")
file(MAKE_DIRECTORY "${dir}")
file(READ "${README}" readme)
string(REGEX MATCH "```json\n([^`]*)```" found "${readme}")
expect("README has no json example" found)
file(WRITE "${dir}/design.json" "${CMAKE_MATCH_1}")
file(READ "${EXAMPLE}/summer-holiday.json" example)
expect("the README's description is not examples/summer-holiday/summer-holiday.json"
       example STREQUAL CMAKE_MATCH_1)
file(COPY "${EXAMPLE}/sunset.jpg" "${EXAMPLE}/logo.png" DESTINATION "${dir}")

foreach(view "" --sheet "--screen;50")
  string(MAKE_C_IDENTIFIER "x${view}" tag)
  run_cli(out st render "${dir}/design.json" ${view} -o "${dir}/described${tag}.png")
  expect("render of the description ${view} gave status ${st}: ${last_stderr}" st EQUAL 0)
endforeach()
run_cli(out st save "${dir}/design.json" -o "${dir}/project.cd4" --embed)
expect("save --embed gave status ${st}: ${last_stderr}" st EQUAL 0)
run_cli(out st print "${dir}/design.json" --pdf "${dir}/design.pdf")
expect("print of the description gave status ${st}: ${last_stderr}" st EQUAL 0)
# The photos come from the project now.
file(REMOVE "${dir}/sunset.jpg" "${dir}/logo.png")
foreach(view "" --sheet "--screen;50")
  string(MAKE_C_IDENTIFIER "x${view}" tag)
  run_cli(out st render "${dir}/project.cd4" ${view} -o "${dir}/saved${tag}.png")
  expect("render of the project ${view} gave status ${st}: ${last_stderr}" st EQUAL 0)
  file(SHA256 "${dir}/described${tag}.png" want)
  file(SHA256 "${dir}/saved${tag}.png" got)
  expect("the project ${view} renders otherwise than its description" want STREQUAL got)
endforeach()

run_cli(out st info "${dir}/project.cd4" --json)
expect("info gave status ${st}: ${last_stderr}" st EQUAL 0)
string(JSON canvas GET "${out}" units 0 canvas)
expect("info shows the canvas as ${canvas}, not the description's" canvas STREQUAL "2.0.5.2")
string(JSON nblocks LENGTH "${out}" units 0 blocks)
expect("unit 1 lists ${nblocks} blocks, not paint + 5" nblocks EQUAL 6)
string(JSON kind GET "${out}" units 0 blocks 1 kind)
string(JSON source GET "${out}" units 0 blocks 1 source)
string(JSON path GET "${out}" units 0 blocks 1 path)
expect("block 2 is a ${kind} from ${source}" kind STREQUAL "photo" AND source STREQUAL "file")
expect("the photo's path ${path} is not the file's full path" path STREQUAL "${dir}/sunset.jpg")
string(JSON kind GET "${out}" units 0 blocks 2 kind)
expect("block 3 is a ${kind}" kind STREQUAL "symbol")
string(JSON kind GET "${out}" units 0 blocks 4 kind)
expect("block 5 is a ${kind}" kind STREQUAL "text")
string(JSON clone GET "${out}" units 1 clone)
expect("unit 2 is not a clone" clone STREQUAL "ON" OR clone STREQUAL "true")

run_cli(out st export "${dir}/project.cd4" --unit 1 --format png -o "${dir}/exported.png")
expect("export gave status ${st}: ${last_stderr}" st EQUAL 0 AND EXISTS "${dir}/exported.png")

# The project on the start screen's recent list; a file that is not there is refused.
run_cli(out st prefs --recent "${dir}/project.cd4")
expect("prefs --recent gave status ${st}: ${last_stderr}" st EQUAL 0)
run_cli(out st prefs --json)
expect("the recent list lacks the project: ${out}" out MATCHES "project.cd4")
run_cli(out st prefs --recent "${dir}/none.cd4")
expect("prefs --recent of no file gave status ${st}" st EQUAL 2)

# Cut copies: a spread of lengths through the whole file, each refused with
# the alert's text or opened with a note of what is missing.
run_cli(out st strings 400 10)
string(STRIP "${out}" alert10)
file(SIZE "${dir}/project.cd4" size)
math(EXPR step "${size} / 23")
foreach(i RANGE 0 22)
  math(EXPR n "${i} * ${step} + ${i}")
  execute_process(COMMAND head -c ${n} "${dir}/project.cd4" OUTPUT_FILE "${dir}/cut.cd4")
  run_cli(out st info "${dir}/cut.cd4")
  if(st EQUAL 0)
    expect("a copy cut at ${n} of ${size} opened with nothing reported" out MATCHES "\nnote: ")
  else()
    expect("a copy cut at ${n} gave status ${st}" st EQUAL 2)
    string(FIND "${last_stderr}" "${alert10}" at)
    expect("a copy cut at ${n} was refused without alert 10: ${last_stderr}" at GREATER -1)
  endif()
endforeach()

# A track list placed on the saved project and saved again: the project gains
# one text block per column, and it still renders.
file(WRITE "${dir}/songs.txt" "Name\tArtist\tTotal Time\nSunrise\tThe Band\t215000\nCoda\tThe Band\t95000\n")
run_cli(out st tracks "${dir}/songs.txt" --into "${dir}/project.cd4" --fields "#,Name,Total Time"
        --columns "Name,Total Time" -o "${dir}/tracks.cd4")
expect("tracks into the project gave status ${st}: ${last_stderr}" st EQUAL 0)
run_cli(out st info "${dir}/tracks.cd4" --json)
expect("info of the project with tracks gave status ${st}: ${last_stderr}" st EQUAL 0)
string(JSON nblocks LENGTH "${out}" units 0 blocks)
expect("unit 1 lists ${nblocks} blocks, not 6 + 3 columns" nblocks EQUAL 9)
string(JSON kind GET "${out}" units 0 blocks 8 kind)
expect("the last block is a ${kind}" kind STREQUAL "text")
run_cli(out st render "${dir}/tracks.cd4" -o "${dir}/tracks.png")
expect("render of the project with tracks gave status ${st}: ${last_stderr}" st EQUAL 0)
execute_process(COMMAND head -c 100 "${dir}/project.cd4" OUTPUT_FILE "${dir}/short.cd4")
run_cli(out st tracks "${dir}/songs.txt" --into "${dir}/short.cd4" -o "${dir}/never.png")
expect("tracks into a damaged project gave status ${st}" st EQUAL 2)
expect("tracks into a damaged project wrote a picture" NOT EXISTS "${dir}/never.png")

# The saved project (its photos gone) and, above, its description print to a
# one-page PDF of the stock's paper size.
run_cli(out st print "${dir}/project.cd4" --pdf "${dir}/project.pdf")
expect("print of the project gave status ${st}: ${last_stderr}" st EQUAL 0)
foreach(doc design project)
  execute_process(COMMAND pdfinfo "${dir}/${doc}.pdf" OUTPUT_VARIABLE info RESULT_VARIABLE rc)
  expect("pdfinfo could not read the PDF of ${doc}" rc EQUAL 0)
  expect("the PDF of ${doc} is not one page" info MATCHES "Pages: +1\n")
  # The stock's sheet: 148 x 296 mm.
  expect("the PDF of ${doc} is not the stock's size" info MATCHES "Page size: +42[01](\\.[0-9]+)? x 839(\\.[0-9]+)? pts")
endforeach()
# A PDF that cannot be saved says why in one line, exits 2, and keeps the
# old file whole: on a full disk, over a FIFO (which stays one, and no one
# waits for a reader).
file(COPY_FILE "${dir}/project.pdf" "${dir}/kept.pdf")
file(SHA256 "${dir}/kept.pdf" kept_sum)
execute_process(COMMAND prlimit --fsize=4096 ${CLI} print "${dir}/project.cd4" --pdf "${dir}/kept.pdf"
                ERROR_VARIABLE err RESULT_VARIABLE st)
expect("a PDF on a full disk gave status ${st}: ${err}" st EQUAL 2)
expect("a PDF on a full disk did not say why in one line: ${err}"
       err MATCHES "^cirquel-cli print: [^\n]*kept[.]pdf: File too large\n$")
file(SHA256 "${dir}/kept.pdf" now_sum)
expect("a PDF on a full disk did not keep the old file" now_sum STREQUAL kept_sum)
file(GLOB left "${dir}/kept.pdf.tmp-*")
list(LENGTH left left_count)
expect("a PDF on a full disk left ${left}" left_count EQUAL 0)
execute_process(COMMAND mkfifo "${dir}/pipe.pdf")
run_cli(out st print "${dir}/project.cd4" --pdf "${dir}/pipe.pdf")
expect("a PDF over a FIFO gave status ${st}" st EQUAL 2)
expect("a PDF over a FIFO did not say why: ${last_stderr}" last_stderr MATCHES "pipe[.]pdf: not a regular file")
execute_process(COMMAND test -p "${dir}/pipe.pdf" RESULT_VARIABLE rc)
expect("the FIFO was replaced" rc EQUAL 0)

# A PDF has no copy count: three copies are three pages.
run_cli(out st print "${dir}/project.cd4" --copies 3 --pdf "${dir}/copies.pdf")
expect("print of three copies gave status ${st}: ${last_stderr}" st EQUAL 0)
execute_process(COMMAND pdfinfo "${dir}/copies.pdf" OUTPUT_VARIABLE info)
expect("three copies did not make three pages" info MATCHES "Pages: +3\n")
run_cli(out st print "${dir}/design.json" --template "A-ONE 29125" --pdf "${dir}/both.pdf")
expect("print of a document and a stock at once gave status ${st}" st EQUAL 2)

# A project of the previous version (made by our fixture writer, as the
# fuzz seeds are) imported into unit 1 of the project: its two texts and its
# photo come on top of the unit's blocks; a damaged one is refused in one
# line and writes nothing.
run_cli(out st import-old "${V3_SEEDS}/square.cd4" --into "${dir}/project.cd4" --unit 1 -o "${dir}/imported.cd4")
expect("import-old gave status ${st}: ${last_stderr}" st EQUAL 0)
run_cli(out st info "${dir}/imported.cd4" --json)
string(JSON nblocks LENGTH "${out}" units 0 blocks)
expect("unit 1 lists ${nblocks} blocks after the import, not 6 + 3" nblocks EQUAL 9)
string(JSON text GET "${out}" units 0 blocks 7 text)
expect("the old title reads ${text}" text MATCHES "^Summer")
run_cli(out st import-old "${V3_SEEDS}/square.cd4" --into "${dir}/project.cd4" --unit 1 -o "${dir}/imported.png")
expect("import-old to a picture gave status ${st}: ${last_stderr}" st EQUAL 0 AND EXISTS "${dir}/imported.png")
run_cli(out st import-old "${V3_SEEDS}/cut.cd4" --into "${dir}/project.cd4" -o "${dir}/refused.cd4")
expect("a cut old project gave status ${st}" st EQUAL 2)
expect("a cut old project did not say so: ${last_stderr}" last_stderr MATCHES "cut[.]cd4: ${alert10}")
expect("a refused import wrote a file" NOT EXISTS "${dir}/refused.cd4")
