# marvane_render_icon(SIZE OUT): a custom command that renders the program's
# icon, packaging/marvane.svg, as a SIZE x SIZE PNG file at OUT. The installed
# icons and the window icon compiled into the program come from it alike.
include_guard(GLOBAL)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)

function(marvane_render_icon size out)
  get_filename_component(dir ${out} DIRECTORY)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${out} ${PROJECT_SOURCE_DIR}/packaging/marvane.svg
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/marvane.svg VERBATIM)
endfunction()
