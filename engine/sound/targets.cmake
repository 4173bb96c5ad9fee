#Sounds are Ogg Vorbis files decoded by libvorbisfile.
qel_link(engine_sound qel::vorbisfile)
