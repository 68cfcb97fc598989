# The Debian package of the Linux build (tools/package-deb.sh): what
# `cmake --install` puts under the prefix, installed under /usr.  Its
# dependencies are the shared libraries the programs and the module link,
# found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_CONTACT "Seed 07f68aad maintainers <maintainers@users.noreply.c-seed-07f68aad.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "LightWave Layout scenes to RenderWare DFF model files")
set(CPACK_PACKAGE_DESCRIPTION "Two Layout plug-in modules: one exports the current scene as a \
RenderWare DFF clump, the other writes a map object's DFF with day and night vertex colours, its \
texture dictionary and its collision; lwhost, a stand-in Layout host that runs the modules on scene \
and object files from the command line; dffinfo, which prints and checks DFF, TXD and COL files; \
maketxd, which builds a model's texture dictionary from its images; makecol, which builds COL \
collision files from LightWave files or DFF models; and brasko, which takes the collision data \
back out of a DFF.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
