# cmake -DSOURCE=DIR -DSTAGE=DIR -DOUTPUT=FILE.oxt -DVERSION=X.Y -P pack.cmake
# Lays the extension's files out in STAGE, with the version in its
# description, and zips them into OUTPUT (an .oxt is a zip archive).
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
set(FILES META-INF/manifest.xml Addons.xcu ProtocolHandler.xcu python/dataviews.py
  pythonpath/qvwriter/__init__.py pythonpath/qvwriter/commands.py pythonpath/qvwriter/hostlink.py
  pythonpath/qvwriter/memory.py pythonpath/qvwriter/writing.py)
foreach(f ${FILES})
  get_filename_component(dir ${f} DIRECTORY)
  file(COPY ${SOURCE}/${f} DESTINATION ${STAGE}/${dir})
endforeach()
configure_file(${SOURCE}/description.xml ${STAGE}/description.xml @ONLY)
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUTPUT} --format=zip description.xml ${FILES}
  WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the extension could not be packed into ${OUTPUT}")
endif()
