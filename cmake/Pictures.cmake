# The window's pictures, drawn for this program; amperlog.svg is also the program's icon. Each
# has one size in device-independent pixels: the close faces fill picClose (924 x 348 twips).
set(AMPERLOG_PICTURE_SIZES
    amperlog:64x64 imgAdapter:32x32 imgAdapterOFF:32x32 imgBig:32x32 imgCloseOFF:62x23
    imgCloseON:62x23 imgFile:32x32 imgGraph:32x32 imgPen:32x32 imgRemain:32x32 imgSEP:32x32
    imgSmall:32x32 imgStay:32x32 imgTools:32x32 imgVoiceOFF:32x32 imgVoiceON:32x32
    picStop:32x32)

# The SVG files of the pictures.
function(amperlog_picture_svgs out_var)
    set(svgs)
    foreach(entry ${AMPERLOG_PICTURE_SIZES})
        string(REGEX REPLACE ":.*" "" name ${entry})
        list(APPEND svgs ${PROJECT_SOURCE_DIR}/resources/icons/${name}.svg)
    endforeach()
    set(${out_var} ${svgs} PARENT_SCOPE)
endfunction()

# Renders every picture into dir as <name>@<percent>.png at the scales Windows offers (100 %,
# 125 %, 150 %, 200 %), by the host's Qt (cmake/HostTools.cmake); out_var gets the files.
function(amperlog_render_pictures out_var dir)
    file(MAKE_DIRECTORY ${dir})
    set(pngs)
    foreach(entry ${AMPERLOG_PICTURE_SIZES})
        string(REGEX MATCH "^([^:]+):([0-9]+)x([0-9]+)$" _ ${entry})
        set(name ${CMAKE_MATCH_1})
        set(width ${CMAKE_MATCH_2})
        set(height ${CMAKE_MATCH_3})
        set(svg ${PROJECT_SOURCE_DIR}/resources/icons/${name}.svg)
        foreach(scale_ratio 100:1 125:1.25 150:1.5 200:2)
            string(REPLACE ":" ";" scale_ratio ${scale_ratio})
            list(GET scale_ratio 0 scale)
            list(GET scale_ratio 1 ratio)
            set(png ${dir}/${name}@${scale}.png)
            # Under the sanitizer builds the leak checker would count Qt's caches against it.
            add_custom_command(OUTPUT ${png}
                COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
                        ${AMPERLOG_RENDER_PICTURE} ${svg} ${width} ${height} ${ratio} ${png}
                DEPENDS ${AMPERLOG_RENDER_PICTURE_TARGET} ${svg}
                COMMENT "Rendering ${name} at ${scale} %"
                VERBATIM)
            list(APPEND pngs ${png})
        endforeach()
    endforeach()
    set(${out_var} ${pngs} PARENT_SCOPE)
endfunction()
