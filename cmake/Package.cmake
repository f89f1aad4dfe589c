# Installation and the Debian package (cmake --build build --target package).
# Neither is part of the default build.
#
# Everything lands in one folder, /usr/lib/qalvoro, because the host program
# finds the component library, the converter and LTR.DRV beside itself; the
# programs are linked into /usr/bin. The --help texts of the programs are
# written at installation time by the programs themselves.

set(QALVORO_LIB_DIR lib/qalvoro)
set(QALVORO_PROGRAMS qalvoro-host qalvoro-v1convert qalvoro-make-v1)

install(TARGETS ${QALVORO_PROGRAMS} Dravolte_01
        RUNTIME DESTINATION ${QALVORO_LIB_DIR}
        LIBRARY DESTINATION ${QALVORO_LIB_DIR})
install(FILES ${CMAKE_BINARY_DIR}/bin/LTR.DRV DESTINATION ${QALVORO_LIB_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/qalvoro-host.desktop
        DESTINATION share/applications)

set(QALVORO_HELP_DIR share/doc/qalvoro-migration/help)
install(DIRECTORY DESTINATION bin)
foreach(program IN LISTS QALVORO_PROGRAMS)
  install(CODE "
    set(root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    file(CREATE_LINK ../${QALVORO_LIB_DIR}/${program} \"\${root}/bin/${program}\" SYMBOLIC)
    file(MAKE_DIRECTORY \"\${root}/${QALVORO_HELP_DIR}\")
    execute_process(
      COMMAND \${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
              \"$<TARGET_FILE:${program}>\" --help
      OUTPUT_FILE \"\${root}/${QALVORO_HELP_DIR}/${program}.txt\"
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR \"${program} --help failed: \${status}\")
    endif()")
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qalvoro-migration)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Qalvoro")
set(CPACK_PACKAGE_CONTACT "Qalvoro support <support@qalvoro.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Moves version-1 accounting and inventory data into a version-2 database")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The database drivers are plugins, which the library scan does not see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql")
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
include(CPack)
