"use strict";
// The soundtrack read front to back in blocks. A track's samples are fetched only when the reading
// reaches it and let go once it is passed, so an export holds one track's samples whatever its length.
{
    // tracks: [{ frames, load() → promise of planar channels (Float32Arrays of equal length) }].
    class SoundStream {
        constructor(tracks) {
            this.tracks = tracks;
            this.next = 0;
            this.channels = null;
            this.offset = 0;
        }

        // Sample frames of all the tracks as they announce them.
        get frames() {
            return this.tracks.reduce((sum, track) => sum + track.frames, 0);
        }

        // Resolves to the next block of at most `count` frames as planar channels ({ channels, length }),
        // or null after the last track. A block never spans two tracks.
        async read(count) {
            while (this.channels === null || this.offset >= this.channels[0].length) {
                this.channels = null;
                if (this.next >= this.tracks.length) return null;
                this.channels = await this.tracks[this.next++].load();
                this.offset = 0;
            }
            const start = this.offset;
            const length = Math.min(count, this.channels[0].length - start);
            this.offset += length;
            return { channels: this.channels.map((channel) => channel.subarray(start, start + length)), length };
        }
    }

    Vimbo.define("SoundStream", SoundStream);
}
