# A sheet of one's own from the command line: designed, exported, added to
# the user's catalogue, expanded, printed as a test pattern and removed; a
# faulty design and a faulty file refused with where they are wrong.
include(${CMAKE_CURRENT_LIST_DIR}/cli_helpers.cmake)
foreach(v LANGUAGE LC_ALL LC_MESSAGES)
  unset(ENV{${v}})
endforeach()
set(ENV{LANG} C.UTF-8)
file(REMOVE_RECURSE ${OUT} ${CONFIG_DIR})
file(MAKE_DIRECTORY ${OUT})

set(group kind=CD,n=2,left=46,top=20,w=118,h=118,py=20,meas1=41)
run_cli(out st design --name "Mine 2-up CD" --paper A4 --group ${group} --export ${OUT}/two.layout)
expect("design --export gave status ${st}: ${last_stderr}" st EQUAL 0)
# CMake's text reading drops carriage returns: the line ends are read as bytes.
file(READ ${OUT}/two.layout head HEX LIMIT 29)
file(READ ${OUT}/two.layout text)
expect("the export does not open with its CR LF line: ${head}" head STREQUAL "282a204c41594f55542056657273696f6e20342e3030202a290d0a7b20")
string(FIND "${text}" "{ \"SORT________\", \"Mine 2-up CD\", BOTH" at)
expect("the export is not layout text: ${text}" at GREATER 0)

run_cli(out st templates --add ${OUT}/two.layout)
expect("templates --add gave status ${st}: ${last_stderr}" st EQUAL 0 AND out STREQUAL "added Mine 2-up CD\n")
run_cli(out st templates --brand Mine)
expect("the brand Mine lists '${out}'" st EQUAL 0 AND out MATCHES "Mine 2-up CD\n$")
run_cli(out st expand "Mine 2-up CD" --json)
expect("expand gave status ${st}" st EQUAL 0)
string(JSON b1 GET "${out}" units 1 bbox)
string(REGEX REPLACE "[ \n]" "" b1 "${b1}")
expect("unit 2 at ${b1}" b1 STREQUAL "[46,158,164,276]")

run_cli(out st design --name "Mine 2-up CD" --paper A4 --group ${group} --test-page --pdf ${OUT}/pattern.pdf --nudge 10,0)
expect("design --test-page gave status ${st}: ${last_stderr}" st EQUAL 0)
file(READ ${OUT}/pattern.pdf pdf_head HEX LIMIT 5)
expect("the test pattern is not a PDF" pdf_head STREQUAL "255044462d")

run_cli(out st design --name "Mine bad" --group kind=CD,n=2,w=118)
expect("a half group gave status ${st}" st EQUAL 2 AND last_stderr MATCHES "group 1: ")
file(WRITE ${OUT}/bad.layout "(* LAYOUT Version 4.00 *)\n{ \"SORT________\", \"Mine bad\", BOTH,\n  a_template_flag_set { IS_NOPE } }")
run_cli(out st templates --add ${OUT}/bad.layout)
expect("a bad file gave status ${st}: ${last_stderr}" st EQUAL 2 AND last_stderr MATCHES "bad.layout:3: unknown flag 'IS_NOPE'")
# The same refusals in Spanish and Greek: the sentence translated, the file,
# line, group and flag as they stand.
set(ENV{LANG} es_ES.UTF-8)
run_cli(out st templates --add ${OUT}/bad.layout)
expect("LANG=es_ES.UTF-8 a bad file said '${last_stderr}'" st EQUAL 2 AND last_stderr MATCHES
       "bad.layout:3: indicador desconocido 'IS_NOPE'\n$")
file(WRITE ${OUT}/bad.json "{\"template\": \"A-ONE 29125\",\n \"units\": [{\"canvas\": {\"hue\": 400}}]}\n")
set(ENV{LANG} el_GR.UTF-8)
run_cli(out st render ${OUT}/bad.json -o ${OUT}/bad.png)
expect("LANG=el_GR.UTF-8 a bad design said '${last_stderr}'" st EQUAL 2 AND last_stderr STREQUAL
       "cirquel-cli render: γραμμή 2: units[1].canvas.hue: το 400 είναι εκτός του 0 έως 359\n")
set(ENV{LANG} C.UTF-8)

run_cli(out st templates --remove "Mine 2-up CD")
expect("templates --remove gave status ${st}: ${last_stderr}" st EQUAL 0)
run_cli(out st templates --remove "Mine 2-up CD")
expect("a second remove gave status ${st}" st EQUAL 2)
run_cli(out st expand "Mine 2-up CD")
expect("a removed sheet still expands" st EQUAL 2)
